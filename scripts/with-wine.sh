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
  # Pick a free display number so that parallel runs do not collide.
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }
  done
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY="$display"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
fi

echo "Creating Wine prefix $prefix"
rm -rf "$prefix"
mkdir -p "$prefix"
"$wineserver" -p
init_wine_prefix

"$@"
