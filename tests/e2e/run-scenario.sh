#!/usr/bin/env bash
# Runs one scenario of the UI driver in a Wine prefix of its own, copied from
# the template, under its own wineserver; afterwards ends whatever still runs
# in that prefix and removes it.
# Usage: run-scenario.sh TEMPLATE PREFIX LOADER DRIVER SETUP SCENARIO SCREENSHOT_DIR PAYLOAD_TREE
set -euo pipefail
template=$1 prefix=$2 loader=$3 driver=$4 setup=$5 scenario=$6 screenshots=$7 tree=$8
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
cp -a --reflink=auto "$template" "$prefix"
small_drive=$prefix/small_drive
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  if mountpoint -q "$small_drive"; then umount "$small_drive"; fi
  rm -rf "$prefix"
}
trap cleanup EXIT

# Scenarios named *drive* get drive X:, a folder of the prefix that they
# unplug and plug back in by renaming it, and drive Q:, whose volume is gone.
if [[ $scenario == *drive* ]]; then
  mkdir "$prefix/removable_drive"
  ln -s ../removable_drive "$prefix/dosdevices/x:"
  ln -s ../no_such_volume "$prefix/dosdevices/q:"
fi
# Scenarios named *small_drive* get drive E:, a 1 MiB tmpfs, on which a disk
# really fills up: Windows then reports the drive full as it would.
if [[ $scenario == *small_drive* ]]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "$scenario mounts a small drive as E:, which needs root" >&2
    exit 1
  fi
  mkdir "$small_drive"
  mount -t tmpfs -o size=1m,mode=0777 kestrel_small_drive "$small_drive"
  ln -s ../small_drive "$prefix/dosdevices/e:"
fi

# Scenarios named *code_page_N* run every program of the prefix in Windows'
# ANSI code page N: Wine takes it from the locale, which must be installed
# (scripts/install-deps.sh does).
if [[ $scenario =~ code_page_([0-9]+) ]]; then
  case ${BASH_REMATCH[1]} in
    932) locale=ja_JP.UTF-8 ;;
    936) locale=zh_CN.UTF-8 ;;
    949) locale=ko_KR.UTF-8 ;;
    950) locale=zh_TW.UTF-8 ;;
    *) echo "$scenario: no locale known for code page ${BASH_REMATCH[1]}" >&2; exit 1 ;;
  esac
  if ! locale -a | grep -qix "${locale/UTF-8/utf8}"; then
    echo "$scenario needs the locale $locale, which scripts/install-deps.sh installs" >&2
    exit 1
  fi
  export LC_ALL=$locale
fi

"$loader" "$driver" "$scenario" "$setup" "$screenshots" "$tree"
