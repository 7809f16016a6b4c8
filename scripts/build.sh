#!/usr/bin/env bash
# The main job: installs what is missing, builds the payload builder and the
# 32-bit setup program with its payload, and shows what the payload holds.
# KESTREL_PAYLOAD=/path/to/tree-or-payload-dir chooses another payload.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
scripts/install-deps.sh

build_preset host
if [ -n "${KESTREL_PAYLOAD:-}" ]; then
  cmake --preset win32 -DKESTREL_PAYLOAD="$(realpath "$KESTREL_PAYLOAD")" >/dev/null
fi
build_preset win32

setup=build/win32/app/ks3setup.exe
payload=$(sed -n 's/^KESTREL_SETUP_PAYLOAD_DIR:INTERNAL=//p' build/win32/CMakeCache.txt)
echo "== Setup program: $setup ($(stat -c %s "$setup") bytes)"
build/host/tools/payload-builder summary "$payload"
