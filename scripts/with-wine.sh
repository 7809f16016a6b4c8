#!/usr/bin/env bash
# Runs a command with a fresh Wine prefix, a display and one persistent wineserver,
# and tears all three down afterwards, also when the command fails.
# Usage: with-wine.sh PREFIX LOADER COMMAND [ARGS...]
set -euo pipefail
prefix=$1 loader=$2
shift 2

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

xvfb_pid=""
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
  wait >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  # A display number that no other run uses, so that parallel runs do not
  # collide. A free lock file is not enough: a run in a chroot has a /tmp of
  # its own but shares the abstract socket of each display, so a number is
  # taken only once this server is seen to hold it. The screen is a laptop's
  # at 200 % display scale, where the wizard at 192 DPI fits.
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] || ! kill -0 "$xvfb_pid" 2>/dev/null && break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      break
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "No display could be started" >&2; exit 1; }
fi

echo "Creating Wine prefix $prefix ($WINEARCH)"
rm -rf "$prefix"
mkdir -p "$prefix"
"$wineserver" -p
init_wine_prefix

"$@"
