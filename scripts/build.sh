#!/usr/bin/env bash
# The main job: installs what is missing, builds the payload builder and the
# 32-bit setup program with its payload, shows what the payload holds, and then
# walks the setup program to its licence page under Wine, saving screenshots.
# KESTREL_PAYLOAD=/path/to/tree-or-payload-dir chooses another payload.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
scripts/install-deps.sh

build_preset host
# Always given, empty for the demo payload: a payload named in an earlier run
# must not stay in the cache and ship by mistake.
payload_source=""
[ -n "${KESTREL_PAYLOAD:-}" ] && payload_source=$(realpath "$KESTREL_PAYLOAD")
setup=build/win32/app/ks3setup.exe
# A build that fails, say on a refused payload, leaves no setup program to ship.
rm -f "$setup"
build_preset win32 -DKESTREL_PAYLOAD="$payload_source"

payload=$(sed -n 's/^KESTREL_SETUP_PAYLOAD_DIR:INTERNAL=//p' build/win32/CMakeCache.txt)
echo "== Setup program: $setup ($(stat -c %s "$setup") bytes)"
build/host/tools/payload-builder summary "$payload"

# The walk runs the build this machine can execute: where the kernel cannot run
# 32-bit code, the x86_64 build of the same sources. What ships stays 32-bit.
walk_preset=$(wine_test_preset)
if [ "$walk_preset" != win32 ]; then
  echo "== This machine cannot execute 32-bit code: the walk runs the x86_64 build of the same sources"
  build_preset "$walk_preset"
fi
loader=$(wine_loader "$walk_preset")
screenshots=$root/build/$walk_preset/screenshots
rm -rf "$screenshots"
echo "== Walking the setup program ($walk_preset) to the licence page under Wine"
scripts/with-wine.sh "$root/build/$walk_preset/wineprefix" "$loader" \
  "$loader" "$root/build/$walk_preset/tests/e2e/ui_driver.exe" welcome_and_license \
  "$root/build/$walk_preset/app/ks3setup.exe" "$screenshots"
echo "== Screenshots of the welcome and licence pages:"
echo "   $screenshots/welcome.png"
echo "   $screenshots/license.png"
