#!/usr/bin/env bash
# Builds and runs the installation benchmark on two seeded payloads shaped like
# the real one: the default (1,319 files) and one of ten times the files, more
# aircraft of the same kinds. For each, the host's inflate-only time, and under
# Wine, in one run on that payload: a minimal inflate-and-write loop, the
# installation as the progress page runs it (room check and worker) with its
# memory, and the whole setup program carrying that payload, driven by the UI
# driver through its pages and timed from the click that enters the progress
# page to the finished page, into fresh folders and over its own files, with
# how far the page lags behind the worker and the size of the registration.
# In the same rounds it times an NSIS installer of the same files (Debian's
# nsis, installed here when missing), built for the architecture of the setup
# program timed: into fresh folders and over its own, as the setup program does
# both, and prints the ratios round by round. Then it sets the two sizes side
# by side: time per file, the worker's memory, the registration, the ratios.
# Before the timings, what the setup program and the uninstaller are made of:
# payload resources, other resources, and their own code and data. After them,
# the calls each part of an installation makes (Wine's relay trace, default
# payload), and every state a crash can leave of an installation, a reinstall
# and an uninstallation (crash_states_tests with KESTREL_CRASH_STATES=all).
# Figures only: nothing here passes or fails, and ctest never runs it; when a
# step fails, it says which and stops.
# Usage: scripts/bench.sh [ROUNDS [LARGE_ROUNDS]]   (5 rounds, 3 at ten times the files)
# Environment: BENCH_SEED (default 2004); BENCH_PRESET=win32 or win64 chooses
# the build timed (default: the one the tests run here, scripts/common.sh
# wine_test_preset; win64 is the x86_64 build under wine64, as on a machine
# that runs no 32-bit code); BENCH_HOST_BUILD and BENCH_WIN_BUILD (build
# directories; default build/bench-host and build/bench-<preset>; the host one
# also gets the test payload tool, so the Windows one can build anything).
# BENCH_COMPARE=<revision> also builds that revision's benchmark and setup
# program (in build/bench-compare): it times that worker in the same rounds,
# on the default payload and in the same prefix, alternating with this one's,
# and walks that setup program in the same rounds as this one, fresh and over
# its own files.
set -eEuo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
trap 'echo "scripts/bench.sh stopped: this failed (line $LINENO): $BASH_COMMAND" >&2' ERR

rounds=${1:-5}
large_rounds=${2:-3}
seed=${BENCH_SEED:-2004}
if [ -n "${BENCH_PRESET:-}" ]; then
  preset=$BENCH_PRESET
  chosen="chosen by BENCH_PRESET"
else
  preset=$(wine_test_preset)
  chosen="the build the tests run on this machine"
fi
case $preset in
  win32) arch=i686 nsis_target=x86-unicode ;;
  win64) arch=x86_64 nsis_target=amd64-unicode ;;
  *) echo "BENCH_PRESET must be win32 or win64, not $preset" >&2; exit 2 ;;
esac
loader=$(wine_loader "$preset")
host_build=${BENCH_HOST_BUILD:-$root/build/bench-host}
win_build=${BENCH_WIN_BUILD:-$root/build/bench-$preset}

# Runs a build step quietly, showing its output only when it fails.
quietly() {
  local log=$1
  shift
  if ! "$@" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "Failed; full log in $log" >&2
    return 1
  fi
}

# A Unix path as the Windows programs under Wine name it.
windows_path() { echo "Z:${1//\//\\}"; }

# The files the benchmark's default route installs from a tree: the program
# files, Flight Simulator 2004's four modules and the two model sets.
installed_files() { echo $(($(find "$1/ks" "$1/fs/aircraft" -type f | wc -l) + 4)); }

echo "== Host tools ($host_build)"
mkdir -p "$host_build"
quietly "$host_build/bench-build.log" \
  cmake -S "$root" -B "$host_build" -DCMAKE_BUILD_TYPE=Release
quietly "$host_build/bench-build.log" \
  cmake --build "$host_build" -j "$jobs" --target payload-builder make-test-payloads make-bench-tree bench-inflate

if ! command -v makensis >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get install -y -q --no-install-recommends nsis >/dev/null
fi

# prepare_payload SIZE TIMES TITLE: in build/bench-host/bench/SIZE, the tree
# of TIMES the default files and its payload, made again only when the seed or
# the tools changed (so that a run again relinks nothing), and the NSIS peer of
# the same files for the architecture timed.
prepare_payload() {
  local size=$1 times=$2 dir=$host_build/bench/$1
  local peer=$dir/nsis_peer-$nsis_target.exe made
  made="seed $seed, $times times, tools $(cat "$host_build/tools/make-bench-tree" "$host_build/tools/payload-builder" |
    sha256sum | cut -c 1-16)"
  echo "== $3 (seed $seed), and its NSIS peer"
  mkdir -p "$dir"
  if [ "$(cat "$dir/made.txt" 2>/dev/null)" != "$made" ]; then
    rm -f "$dir/made.txt" "$dir"/nsis_peer-*
    "$host_build/tools/make-bench-tree" "$dir/tree" "$seed" "$times" >/dev/null
    quietly "$dir/payload-build.log" "$host_build/tools/payload-builder" build "$dir/tree" "$dir/payload"
    echo "$made" >"$dir/made.txt"
  fi
  if [ ! -e "$peer" ] || [ tests/bench/make_nsis_peer.py -nt "$peer" ]; then
    python3 tests/bench/make_nsis_peer.py "$dir/tree" "$dir/nsis_peer.nsi" "$peer" "$nsis_target"
    quietly "$dir/nsis-build.log" makensis -V2 "$dir/nsis_peer.nsi" || { rm -f "$peer"; return 1; }
  fi
  "$host_build/tools/payload-builder" summary "$dir/payload"
  "$host_build/tools/bench-inflate" "$dir/payload"
  echo "NSIS peer, $(makensis -VERSION) $nsis_target: $(stat -c %s "$peer") bytes"
}
prepare_payload small 1 "The default payload"
prepare_payload large 10 "Ten times the files, more aircraft of the same kinds"

echo "== Windows benchmark, $arch, $chosen ($win_build)"
mkdir -p "$win_build"
quietly "$win_build/bench-build.log" \
  cmake -S "$root" -B "$win_build" --toolchain "$root/cmake/toolchain-mingw.cmake" \
    -DKESTREL_WIN_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release -DKESTREL_HOST_BUILD="$host_build" \
    -DKESTREL_BENCH_PAYLOAD="$host_build/bench/small/payload" \
    -DKESTREL_BENCH_LARGE_PAYLOAD="$host_build/bench/large/payload" "${plain_build[@]}"
quietly "$win_build/bench-build.log" \
  cmake --build "$win_build" -j "$jobs" --target benchmark ksuninstall ui_driver crash_states_tests

echo "== Sizes of the programs as they ship (stripped), $arch"
python3 scripts/pe_sizes.py "setup program, carrying the benchmark's payload" "$win_build/bench/small/ks3setup.exe" \
  --code-at-most 200
python3 scripts/pe_sizes.py "uninstaller" "$win_build/uninstaller/ksuninstall.exe" --size-at-most 150

compare_bench=""
compare_setup=""
if [ -n "${BENCH_COMPARE:-}" ]; then
  compare_src=$root/build/bench-compare/src
  compare_build=$root/build/bench-compare/$preset
  echo "== The benchmark of $BENCH_COMPARE ($compare_build)"
  rm -rf "$compare_src"
  git -C "$root" worktree prune
  git -C "$root" worktree add --detach --force "$compare_src" "$BENCH_COMPARE" >/dev/null
  mkdir -p "$compare_build"
  # Its setup program carries the default payload as the main command embeds one.
  quietly "$compare_build/bench-build.log" \
    cmake -S "$compare_src" -B "$compare_build" --toolchain "$compare_src/cmake/toolchain-mingw.cmake" \
      -DKESTREL_WIN_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release -DKESTREL_HOST_BUILD="$host_build" \
      -DKESTREL_BENCH_PAYLOAD="$host_build/bench/small/payload" -DKESTREL_PAYLOAD="$host_build/bench/small/payload"
  quietly "$compare_build/bench-build.log" cmake --build "$compare_build" -j "$jobs" --target install_bench ks3setup
  compare_bench=$compare_build/bench/install_bench.exe
  compare_setup=$compare_build/app/ks3setup.exe
fi

# run_size SIZE ROUNDS: install_bench and the walk on the payload of that
# size, against its NSIS peer, in one prefix and with one wineserver; the walk
# installs into fresh folders of that prefix in each round.
run_size() {
  local size=$1 rounds=$2 out=$win_build/bench/$1
  local files earlier=""
  files=$(installed_files "$host_build/bench/$size/tree")
  [ "$size" = small ] && [ -n "$compare_setup" ] && earlier=$(windows_path "$compare_setup")
  echo "== Under Wine: the $size payload, $files files installed, $rounds rounds"
  if ! KESTREL_BENCH_ROUNDS=$rounds KESTREL_BENCH_PEER=$(windows_path "$host_build/bench/$size/nsis_peer-$nsis_target.exe") \
       KESTREL_BENCH_EARLIER=$earlier scripts/with-wine.sh "$win_build/wineprefix" "$loader" \
         bash -c '"$1" "$2" "$3" "$4" && "$1" "$5" bench_setup "$6" "$7"' bench "$loader" \
           "$win_build/bench/install_bench.exe" "$(windows_path "$out/bench_payload.dll")" "$rounds" \
           "$win_build/tests/e2e/ui_driver.exe" "$out/ks3setup.exe" "$out/screenshots" \
       | tr -d '\r' | grep -v '^wine: Read access denied' | tee "$out/results.txt"; then
    echo "scripts/bench.sh stopped: install_bench or the walk failed on the $size payload (output above;" \
      "screenshots of the walk in $out/screenshots)" >&2
    exit 1
  fi
  rm -rf "$win_build/wineprefix"  # it holds the Wine prefix's own files and the last registration
  python3 tests/bench/bench_figures.py size "$out/results.txt"
}
run_size small "$rounds"
run_size large "$large_rounds"

echo "== Ten times the files against the default payload"
python3 tests/bench/bench_figures.py scale "$win_build/bench/small/results.txt" \
  "$(installed_files "$host_build/bench/small/tree")" "$win_build/bench/large/results.txt" \
  "$(installed_files "$host_build/bench/large/tree")"

echo "== Calls made, counted through Wine's relay trace (one installation of the default payload, fresh and over it)"
# The functions traced: tests/bench/relay_functions.txt; the trace slows the
# run down, so these runs are counted, never timed.
relay_log=$win_build/bench/relay.log
scripts/with-wine.sh "$win_build/wineprefix" "$loader" bash -c '
  "$1" reg add "HKCU\\Software\\Wine\\Debug" /v RelayInclude /d "$2" /f >/dev/null 2>&1
  WINEDEBUG=+relay "$1" "$3" "$4" calls 2>"$5" >/dev/null' relay "$loader" \
    "$(tr '\n' ';' <"$root/tests/bench/relay_functions.txt")" "$win_build/bench/install_bench.exe" \
    "$(windows_path "$win_build/bench/small/bench_payload.dll")" "$relay_log"
rm -rf "$win_build/wineprefix"
tree=$host_build/bench/small/tree
python3 "$root/tests/bench/count_calls.py" "$relay_log" "$(installed_files "$tree")" \
  "$(find "$tree/ks" "$tree/fs/aircraft" -type d | wc -l)"

if [ -n "$compare_bench" ]; then
  echo "== This worker against that of $BENCH_COMPARE: one round each, alternating ($rounds rounds)"
  compared=$win_build/bench/compared.txt
  # An install_bench older than the payload argument takes its own
  # bench_payload.dll and reads the first argument as its rounds: one.
  scripts/with-wine.sh "$win_build/wineprefix" "$loader" bash -c '
    for _ in $(seq "$5"); do
      "$1" "$2" "$4" 1 | sed -n "s/^round 1: worker \([0-9.]*\) ms.*/this \1/p"
      "$1" "$3" "$4" 1 | sed -n "s/^round 1: worker \([0-9.]*\) ms.*/that \1/p"
    done' compare "$loader" "$win_build/bench/install_bench.exe" "$compare_bench" \
    "$(windows_path "$win_build/bench/small/bench_payload.dll")" "$rounds" \
    | tr -d '\r' | grep -E '^(this|that) ' | tee "$compared"
  rm -rf "$win_build/wineprefix"
  # Best and median of each build's worker times.
  figures() {
    sed -n "s/^$1 //p" "$compared" | sort -n | awk '{ t[NR] = $1 } END { printf "%s %s", t[1], t[int((NR + 1) / 2)] }'
  }
  read -r this_best this_median <<<"$(figures this)"
  read -r that_best that_median <<<"$(figures that)"
  awk -v a="$this_best" -v b="$that_best" -v am="$this_median" -v bm="$that_median" -v rev="$BENCH_COMPARE" 'BEGIN {
    printf "worker: this %.1f ms best, %.1f ms median; %s %.1f ms best, %.1f ms median\n", a, am, rev, b, bm
    printf "ratio: this worker / that of %s %.2f on the best times, %.2f on the medians (target 1.10 or less)\n",
      rev, a / b, am / bm
  }'
fi

echo "== Every crash state of an installation, a reinstall over it and an uninstallation"
# The test command checks an even spread of them; this checks each one.
crash_log=$win_build/bench/crash-states.txt
status=0
KESTREL_CRASH_STATES=all scripts/with-wine.sh "$win_build/wineprefix" "$loader" \
  "$loader" "$win_build/tests/win32/crash_states_tests.exe" >"$crash_log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tr -d '\r' <"$crash_log" | grep -v '^wine: Read access denied' | tail -n 30
  echo "scripts/bench.sh stopped: crash_states_tests exited with status $status (its output: $crash_log)" >&2
  exit 1
fi
tr -d '\r' <"$crash_log" | grep -E 'crash states checked|PASSED'
rm -rf "$win_build/wineprefix"
echo "== Benchmark done: $arch build, $chosen, in $((SECONDS / 60)) min $((SECONDS % 60)) s"
