# Shared by build.sh and test.sh: configure and build one preset quietly, showing
# the compiler's output only when something fails.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

# Further arguments go to the configure step.
build_preset() {
  local preset=$1 log="$root/build/$1.log"
  shift
  mkdir -p "$root/build"
  echo "== Building $preset"
  if ! { cmake --preset "$preset" "$@" && cmake --build --preset "$preset" -j "$jobs"; } >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "Build of $preset failed; full log in $log" >&2
    return 1
  fi
}

# The architecture whose Windows binaries this machine can run under Wine:
# i686 where the kernel executes 32-bit code, else the x86_64 build of the same sources.
wine_test_preset() {
  if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

# The Wine loader that runs the binaries of a Windows preset.
wine_loader() {
  if [ "$1" = win64 ]; then echo /usr/lib/wine/wine64; else echo /usr/lib/wine/wine; fi
}
