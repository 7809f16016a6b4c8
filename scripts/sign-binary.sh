#!/usr/bin/env bash
# Signs a Windows binary with Authenticode, SHA-256, into OUT (which may be IN).
# osslsigncode reads the password from its file, so it is on no command line.
# On any failure OUT is removed: a build that cannot sign leaves nothing
# unsigned behind to ship by mistake.
# Usage: sign-binary.sh OSSLSIGNCODE PKCS12 PASSWORD_FILE IN OUT [OPTION...]
# OPTIONs go to osslsigncode sign as they are: -ts URL, -time SECONDS.
set -euo pipefail
osslsigncode=$1 pkcs12=$2 password_file=$3 in=$4 out=$5
shift 5
signing=$out.signing

fail() {
  rm -f "$out" "$signing"
  echo "Cannot sign $(basename "$out"): $1" >&2
  exit 1
}

rm -f "$signing"
if ! said=$("$osslsigncode" sign -pkcs12 "$pkcs12" -readpass "$password_file" -h sha256 "$@" \
              -in "$in" -out "$signing" 2>&1); then
  echo "$said" >&2
  # osslsigncode tells a wrong password only in its own words ("Wrong password?").
  if grep -qi password <<<"$said"; then
    fail "wrong password: the password in $password_file does not open the certificate $pkcs12"
  fi
  fail "osslsigncode could not sign it with $pkcs12: no PKCS#12 file with a certificate and its key, \
or the signature or its time stamp failed (its words above)"
fi
mv -f "$signing" "$out"
