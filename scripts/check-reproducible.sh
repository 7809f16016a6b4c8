#!/usr/bin/env bash
# Builds the shipped 32-bit setup program a second time, from scratch in
# another folder and at another time, and checks that it and the uninstaller
# its payload carries are byte for byte those of build/win32, built the same
# way (demo payload, unsigned; after the test command's build of it, nothing is
# left to do there). On a difference it names where the two first differ.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

build_preset win32 "${plain_build[@]}"
again=$root/build/reproduced/win32
echo "== Building win32 again in $again to compare"
rm -rf "$again"
# The setup program alone, with the host tools already built: the tests'
# binaries are part of no release.
build_tree win32 "$again" ks3setup "${plain_build[@]}"
status=0
for file in app/ks3setup.exe demo/tree/ks/ksuninstall.exe; do
  if python3 scripts/pe_difference.py "build/win32/$file" "$again/$file"; then
    echo "   $file: the same bytes, SHA-256 $(sha256sum "$again/$file" | cut -d ' ' -f 1)"
  else
    status=1
  fi
done
exit $status
