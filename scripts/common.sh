# Shared by build.sh and test.sh: configure and build one preset quietly, showing
# the compiler's output only when something fails.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

# Further arguments go to the configure step.
build_preset() {
  local preset=$1
  shift
  echo "== Building $preset"
  build_tree "$preset" "$root/build/$preset" all "$@"
}

# build_tree PRESET DIR TARGET [CONFIGURE-ARGS...]: PRESET configured into DIR
# instead of its own folder, and TARGET built there; the log goes to DIR.log.
build_tree() {
  local preset=$1 dir=$2 target=$3 log=$2.log
  shift 3
  mkdir -p "$(dirname "$dir")"
  if ! { cmake --preset "$preset" -B "$dir" "$@" && cmake --build "$dir" --target "$target" -j "$jobs"; } >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "Build of $preset in $dir failed; full log in $log" >&2
    return 1
  fi
}

# What the tests build whatever an earlier run of the main command configured:
# the demo payload, unsigned.
plain_build=(-DKESTREL_PAYLOAD= -DKESTREL_SIGN_PKCS12= -DKESTREL_SIGN_PASSWORD_FILE= -DKESTREL_SIGN_TIMESTAMP_URL=)

# The architecture whose Windows binaries this machine can run under Wine:
# i686 where the kernel executes 32-bit code and 32-bit Wine is installed, else
# the x86_64 build of the same sources.
wine_test_preset() {
  if /lib/ld-linux.so.2 --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine ]; then
    echo win32
  else
    echo win64
  fi
}

# The Wine loader that runs the binaries of a Windows preset.
wine_loader() {
  if [ "$1" = win64 ]; then echo /usr/lib/wine/wine64; else echo /usr/lib/wine/wine; fi
}
