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
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT

"$loader" "$driver" "$scenario" "$setup" "$screenshots" "$tree"
