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
  # The locales of Japanese, Chinese and Korean Windows' code pages, which
  # Wine takes from the locale (the scenarios code_page_*).
  locales
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
updated=false
# A mirror caught mid-sync fails one index now and then (its i386 security
# index, say); retry, and if it still fails go on with what did load: the
# install itself says what it could not find.
apt_update() {
  for attempt in 1 2 3; do
    $sudo apt-get update -q && break
    if [ "$attempt" -eq 3 ]; then
      echo "apt-get update failed again; going on with the indexes that loaded" >&2
    else
      echo "apt-get update failed (attempt $attempt); retrying" >&2
      sleep $((attempt * 5))
    fi
  done
  updated=true
}
apt_install() {
  $updated || apt_update
  echo "Installing: $*"
  $sudo apt-get install -y -q --no-install-recommends "$@"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

# Code pages 932, 936, 949 and 950, as Wine reads them from these locales.
# localedef exits with 1 when it only warned, so what counts is the locale.
for locale in ja_JP zh_CN ko_KR zh_TW; do
  locale -a | grep -qix "$locale.utf8" && continue
  echo "Generating the locale $locale.UTF-8"
  $sudo localedef -i "$locale" -f UTF-8 "$locale.UTF-8" || true
  locale -a | grep -qix "$locale.utf8" || { echo "The locale $locale.UTF-8 could not be generated" >&2; exit 1; }
done

# 32-bit Wine runs the i686 build, the program that ships, where the kernel
# executes 32-bit code (which its C library shows). It comes from the release's
# own suite, as install-i386.sh says; where it cannot be had, or the kernel runs
# no 32-bit code, the Windows tests run the x86_64 build under wine64.
installed wine32:i386 && exit 0
here=$(dirname "${BASH_SOURCE[0]}")
if [ ! -e /lib/ld-linux.so.2 ]; then
  $updated || apt_update
  if ! "$here/install-i386.sh" libc6:i386; then
    echo "== Could not install libc6:i386: the Windows tests will run the x86_64 build under wine64" >&2
    exit 0
  fi
fi
/lib/ld-linux.so.2 --version >/dev/null 2>&1 || exit 0
$updated || apt_update
"$here/install-i386.sh" wine wine64 wine32:i386 ||
  echo "== Could not install wine32:i386: the Windows tests will run the x86_64 build under wine64" >&2
