#!/usr/bin/env bash
# Installs, on Debian 12, whatever the build and the tests need and is still missing.
# Fast when everything is present: it only asks dpkg.
set -euo pipefail

# python3 draws the setup program's pictures and the demo payload's files; the
# x86_64 cross compiler and wine64 run the Windows tests where 32-bit code cannot.
# fonts-wine gives Wine its Tahoma for "MS Shell Dlg" and the Marlett glyphs of
# the caption buttons; without it dialogs fall back to a wider font and cut texts.
packages=(
  cmake make g++ zlib1g-dev googletest python3
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 fonts-wine
  xvfb xauth
  # osslsigncode signs a release; openssl makes the test's throwaway certificate.
  osslsigncode openssl
)

# 32-bit Wine runs the i686 build where the kernel executes 32-bit code; where
# it cannot be installed the Windows tests run the x86_64 build under wine64.
optional=(wine32:i386)

missing=()
missing_optional=()
for p in "${optional[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing_optional+=("$p")
  fi
done
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]} ${missing_optional[*]}"
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails one index now and then; retry, and if it
# still fails go on: the install itself says what it could not find.
for attempt in 1 2 3; do
  $sudo apt-get update -q && break
  echo "apt-get update failed (attempt $attempt); retrying" >&2
  sleep $((attempt * 10))
done
[ ${#missing[@]} -eq 0 ] || $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
if [ ${#missing_optional[@]} -gt 0 ] &&
   ! $sudo apt-get install -y -q --no-install-recommends "${missing_optional[@]}"; then
  echo "== Could not install ${missing_optional[*]}: the Windows tests will run the x86_64 build under wine64" >&2
fi
