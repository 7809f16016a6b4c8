#!/usr/bin/env bash
# The main job: installs what is missing, builds the payload builder and the
# 32-bit setup program with its payload, shows what the payload holds, and then
# walks the setup program under Wine along the default route (one computer,
# Flight Simulator 2004 installed) from the welcome page to Finish, saving a
# screenshot of every page it passes and listing what it installed; then
# uninstalls it as a user would and lists what remains (the shared module).
# KESTREL_PAYLOAD=/path/to/tree-or-payload-dir chooses another payload.
# KESTREL_SIGN_PKCS12=/path/cert.p12 with KESTREL_SIGN_PASSWORD_FILE=/path/file
# signs the uninstaller and the setup program (KESTREL_SIGN_TIMESTAMP_URL adds
# an RFC 3161 time stamp).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# Always given, empty when not signing: a certificate named in an earlier run
# must not stay in the cache. The files are named from where the command started.
signing=()
for variable in KESTREL_SIGN_PKCS12 KESTREL_SIGN_PASSWORD_FILE; do
  file=${!variable:-}
  signing+=("-D$variable=${file:+$(realpath -m "$file")}")
done
signing+=("-DKESTREL_SIGN_TIMESTAMP_URL=${KESTREL_SIGN_TIMESTAMP_URL:-}")
# The signing time is the one date the build writes: the last commit's, so that
# one certificate signs one commit into the same bytes every time.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && commit_time=$(git -C "$root" log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH=$commit_time
fi
cd "$root"
scripts/install-deps.sh

build_preset host
# Always given, empty for the demo payload: a payload named in an earlier run
# must not stay in the cache and ship by mistake.
payload_source=""
[ -n "${KESTREL_PAYLOAD:-}" ] && payload_source=$(realpath "$KESTREL_PAYLOAD")
setup=build/win32/app/ks3setup.exe
# A build that fails, say on a refused payload or a certificate it cannot use,
# leaves no setup program to ship.
rm -f "$setup"
build_preset win32 -DKESTREL_PAYLOAD="$payload_source" "${signing[@]}"

# Who signed a file, as its signature says (whether or not this machine trusts
# the certificate), or that nobody did. An empty list of trusted certificates
# is named, since without ca-certificates osslsigncode 2.5 stops before it
# shows the signer.
signature_of() {
  local signer
  signer=$(osslsigncode verify -CAfile /dev/null -in "$1" 2>/dev/null |
           sed -n "/^Signer's certificate:/,/Subject:/s/^[[:space:]]*Subject: //p" | head -n 1) || true
  if [ -n "$signer" ]; then echo "signed by $signer"; else echo "not signed"; fi
}

payload=$(sed -n 's/^KESTREL_SETUP_PAYLOAD_DIR:INTERNAL=//p' build/win32/CMakeCache.txt)
echo "== Setup program: $setup ($(stat -c %s "$setup") bytes)"
echo "   SHA-256 $(sha256sum "$setup" | cut -d ' ' -f 1), $(signature_of "$setup")"
build/host/tools/payload-builder summary "$payload"

# The walk runs the build this machine can execute: where the kernel cannot run
# 32-bit code, the x86_64 build of the same sources. What ships stays 32-bit.
walk_preset=$(wine_test_preset)
if [ "$walk_preset" != win32 ]; then
  echo "== This machine cannot run 32-bit code under Wine: the walk runs the x86_64 build of the same sources"
  build_preset "$walk_preset" -DKESTREL_PAYLOAD="$payload_source" "${signing[@]}"
fi
loader=$(wine_loader "$walk_preset")
screenshots=$root/build/$walk_preset/screenshots
rm -rf "$screenshots"
# The walk compares every installed file with the tree the program carries; a
# payload directory built elsewhere brings none, and then they are only listed.
if [ -z "$payload_source" ]; then
  tree=$root/build/$walk_preset/demo/tree
elif [ -e "$payload_source/catalog.bin" ]; then
  tree=""
else
  tree=$payload_source
fi
if [ "$walk_preset" = win32 ]; then
  walked="the shipped i686 build, in a WoW64 prefix"
else
  walked="the x86_64 build, under wine64"
fi
echo "== Walking the setup program ($walked): one computer, Flight Simulator 2004 installed"
# The driver puts the simulator into the walk's own fresh prefix before it
# starts the program, and reads everything back from there afterwards.
scripts/with-wine.sh "$root/build/$walk_preset/wineprefix" "$loader" \
  "$loader" "$root/build/$walk_preset/tests/e2e/ui_driver.exe" default_route \
  "$root/build/$walk_preset/app/ks3setup.exe" "$screenshots" "$tree"
echo "== Screenshots of the pages passed:"
for page in welcome license type program_dir progress finished; do
  echo "   $screenshots/$page.png"
done
