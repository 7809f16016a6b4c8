#!/usr/bin/env bash
# The main command signing with a throwaway self-signed code-signing
# certificate made here. A wrong password stops it with its message and leaves
# no setup program. The right one gives a setup program that osslsigncode
# verifies and whose payload carries an uninstaller it verifies too (taken out
# of the payload that was embedded); the main command's walk installs that
# setup program along the default route and finds the installed uninstaller
# byte for byte the signed one in the tree that was packed. The password is in
# no build log, cache or build rule. Last, also when a check fails, the
# build trees are built again without a certificate, as the main command
# builds them: a program taken from build/win32 after the tests is not signed
# by the throwaway certificate.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

fail() {
  echo "Signing check failed: $1" >&2
  exit 1
}

# The shipped build, and the one the walk ran where that is another.
presets=$(printf '%s\n' win32 "$(wine_test_preset)" | sort -u)
unsigned_again() {
  local status=$? preset
  echo "== The build trees unsigned again, as the main command builds them without a certificate"
  for preset in $presets; do
    build_preset "$preset" "${plain_build[@]}" || status=1
  done
  exit $status
}
trap unsigned_again EXIT

dir=$root/build/signing-check
rm -rf "$dir"
mkdir -p "$dir"
openssl rand -hex 16 >"$dir/password"
echo "not the password" >"$dir/wrong-password"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrel 3 test signer/O=Ninefold" \
  -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature \
  -keyout "$dir/key.pem" -out "$dir/certificate.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$dir/key.pem" -in "$dir/certificate.pem" \
  -passout "file:$dir/password" -out "$dir/certificate.p12"
export KESTREL_SIGN_PKCS12=$dir/certificate.p12

echo "== The main command with a wrong password"
if KESTREL_SIGN_PASSWORD_FILE=$dir/wrong-password scripts/build.sh >"$dir/wrong-password.log" 2>&1; then
  fail "the build went on with a wrong password"
fi
message=$(grep -m 1 "Cannot sign .*: wrong password" "$dir/wrong-password.log") ||
  { cat "$dir/wrong-password.log"; fail "no message names the wrong password"; }
echo "   stopped: $message"
[ ! -e build/win32/app/ks3setup.exe ] || fail "a setup program was left behind"

echo "== The main command signing"
KESTREL_SIGN_PASSWORD_FILE=$dir/password scripts/build.sh | tee "$dir/signed.log"
grep -q "signed by /CN=Kestrel 3 test signer" "$dir/signed.log" ||
  fail "the main command does not say who signed the setup program"

for preset in $presets; do
  echo "== osslsigncode verify: the $preset setup program"
  osslsigncode verify -CAfile "$dir/certificate.pem" -in "build/$preset/app/ks3setup.exe"
  uninstaller=$dir/ksuninstall-$preset.exe
  build/host/tools/payload-builder extract "build/$preset/setup_payload" /ks/ksuninstall.exe "$uninstaller"
  echo "== osslsigncode verify: the uninstaller in the $preset setup program's payload"
  osslsigncode verify -CAfile "$dir/certificate.pem" -in "$uninstaller"
  cmp "$uninstaller" "build/$preset/demo/tree/ks/ksuninstall.exe" ||
    fail "the uninstaller packed is not the one in the tree that the walk compares the installation with"
done

# grep reads the password from its file, so that this check puts it on no command line either.
if grep -rlF -f "$dir/password" --include='*.log' --include='*.txt' --include='*.make' \
     --include=Makefile --include='*.cmake' build/*.log build/win32 "build/$(wine_test_preset)" "$dir"/*.log; then
  fail "the password appears in the files above"
fi
echo "== Signing checked: the password appears in no build log, cache or build rule"
