#!/usr/bin/env bash
# The main job: installs what is missing, builds the payload builder and the
# 32-bit setup program with its payload, and shows what the payload holds.
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
