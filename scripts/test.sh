#!/usr/bin/env bash
# Installs what is missing, builds every configuration from scratch and runs all tests:
# host tests under ASan/UBSan, a bounded fuzz run, the Windows tests under Wine
# (on the i686 build where 32-bit Wine runs, with some scenarios also in a
# 32-bit prefix; else on the x86_64 build), a second build of the setup program that must give the same bytes, and the
# main command signing with a throwaway certificate, after which the build
# trees must be unsigned again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
scripts/install-deps.sh

build_preset host
ctest --preset host

build_preset fuzz
ctest --preset fuzz

# The tests know the demo payload, unsigned; whatever a build of the main
# command embedded or signed before must not stay in the cache for them.
build_preset win32 "${plain_build[@]}"
wine_preset=$(wine_test_preset)
loader=$(wine_loader "$wine_preset")
if [ "$wine_preset" = win32 ]; then
  echo "== Windows tests under 32-bit Wine: the i686 build that ships, in a WoW64 prefix (a 32-bit program on 64-bit Windows)"
else
  echo "== This machine cannot run 32-bit code under Wine: the Windows tests run the x86_64 build of the same sources under wine64"
  # What needs no Wine is still checked on the shipped 32-bit binaries.
  ctest --preset win32 -L static
  build_preset "$wine_preset" "${plain_build[@]}"
fi
scripts/with-wine.sh "$root/build/$wine_preset/wineprefix" "$loader" \
  ctest --preset "$wine_preset"
if [ "$wine_preset" = win32 ]; then
  echo "== Scenarios in a 32-bit prefix, as on 32-bit Windows (XP): the i686 build without WoW64"
  KESTREL_WINEARCH=win32 scripts/with-wine.sh "$root/build/win32/wineprefix" "$loader" \
    ctest --preset win32 -L without_wow64
fi

scripts/check-reproducible.sh
scripts/check-signing.sh
# The signing check builds the trees unsigned again; whoever takes the setup
# program from them after the tests must not find it signed by the test's
# throwaway certificate.
echo "== The build trees as the main command makes them without a certificate"
python3 scripts/check-unsigned.py $(for preset in $(printf '%s\n' win32 "$wine_preset" | sort -u); do
  echo "build/$preset/app/ks3setup.exe build/$preset/demo/tree/ks/ksuninstall.exe"
done)
