#!/usr/bin/env bash
# Builds and runs the installation benchmark: a seeded payload shaped like the
# real one, the host's inflate-only time for it, and under Wine, in one run on
# that payload, three times: a minimal inflate-and-write loop, the installation
# as the progress page runs it (room check and worker) with its memory, and
# the whole setup program carrying that payload, driven by the UI driver
# through its pages and timed from the click that enters the progress page to
# the finished page, with how far the page lags behind the worker. Before the
# timings, what the setup program and the uninstaller are made of: payload
# resources, other resources, and their own code and data.
# In the same rounds it times an NSIS installer of the same files (Debian's
# nsis, installed here when missing): into fresh folders and over its own, as
# the setup program does both, and prints the ratios round by round.
# Figures only: nothing here passes or fails, and ctest never runs it.
# Usage: scripts/bench.sh [ROUNDS]
# Last it checks every state a crash can leave of an installation, a reinstall
# and an uninstallation (crash_states_tests with KESTREL_CRASH_STATES=all).
# Environment: BENCH_SEED (default 2004), BENCH_HOST_BUILD and BENCH_WIN_BUILD
# (build directories; default build/bench-host and build/bench-<preset>; the host
# one also gets the test payload tool, so the Windows one can build anything).
# BENCH_COMPARE=<revision> also builds that revision's benchmark and setup
# program (in build/bench-compare): it times that worker in the same rounds,
# on the same payload and in the same prefix, alternating with this one's, and
# walks that setup program in the same rounds as this one, fresh and over its
# own files.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"

rounds=${1:-5}
seed=${BENCH_SEED:-2004}
preset=$(wine_test_preset)
loader=$(wine_loader "$preset")
arch=i686
[ "$preset" = win64 ] && arch=x86_64
host_build=${BENCH_HOST_BUILD:-$root/build/bench-host}
win_build=${BENCH_WIN_BUILD:-$root/build/bench-$preset}
tree=$host_build/bench/tree
payload=$host_build/bench/payload

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

echo "== Host tools ($host_build)"
mkdir -p "$host_build"
quietly "$host_build/bench-build.log" \
  cmake -S "$root" -B "$host_build" -DCMAKE_BUILD_TYPE=Release
quietly "$host_build/bench-build.log" \
  cmake --build "$host_build" -j "$jobs" --target payload-builder make-test-payloads make-bench-tree bench-inflate

echo "== Payload (seed $seed)"
"$host_build/tools/make-bench-tree" "$tree" "$seed"
"$host_build/tools/payload-builder" build "$tree" "$payload" | tail -n 1
"$host_build/tools/bench-inflate" "$payload"

echo "== NSIS peer of the same files"
if ! command -v makensis >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get install -y -q --no-install-recommends nsis >/dev/null
fi
mkdir -p "$host_build/bench"
peer=$host_build/bench/nsis_peer.exe
python3 "$root/tests/bench/make_nsis_peer.py" "$tree" "$host_build/bench/nsis_peer.nsi" "$peer"
quietly "$host_build/bench/nsis-build.log" makensis -V2 "$host_build/bench/nsis_peer.nsi"
echo "$(makensis -VERSION): $(stat -c %s "$peer") bytes"

echo "== Windows benchmark, $arch ($win_build)"
mkdir -p "$win_build"
quietly "$win_build/bench-build.log" \
  cmake -S "$root" -B "$win_build" --toolchain "$root/cmake/toolchain-mingw.cmake" \
    -DKESTREL_WIN_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release \
    -DKESTREL_HOST_BUILD="$host_build" -DKESTREL_BENCH_PAYLOAD="$payload" -DKESTREL_PAYLOAD="$payload"
quietly "$win_build/bench-build.log" \
  cmake --build "$win_build" -j "$jobs" --target install_bench ks3setup ksuninstall ui_driver crash_states_tests

echo "== Sizes of the programs as they ship (stripped), $arch"
python3 scripts/pe_sizes.py "setup program, carrying the benchmark's payload" "$win_build/app/ks3setup.exe" \
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
  quietly "$compare_build/bench-build.log" \
    cmake -S "$compare_src" -B "$compare_build" --toolchain "$compare_src/cmake/toolchain-mingw.cmake" \
      -DKESTREL_WIN_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release \
      -DKESTREL_HOST_BUILD="$host_build" -DKESTREL_BENCH_PAYLOAD="$payload" -DKESTREL_PAYLOAD="$payload"
  quietly "$compare_build/bench-build.log" cmake --build "$compare_build" -j "$jobs" --target install_bench ks3setup
  compare_bench=$compare_build/bench/install_bench.exe
  compare_setup=$compare_build/app/ks3setup.exe
fi

echo "== Under Wine ($rounds rounds)"
results=$win_build/bench/results.txt
# One prefix and one wineserver for both programs; the walk installs into
# fresh folders of that prefix in each round.
earlier_setup=""
[ -n "$compare_setup" ] && earlier_setup="Z:${compare_setup//\//\\}"
KESTREL_BENCH_ROUNDS=$rounds KESTREL_BENCH_PEER="Z:${peer//\//\\}" KESTREL_BENCH_EARLIER=$earlier_setup scripts/with-wine.sh "$win_build/wineprefix" "$loader" \
  bash -c '"$1" "$2" "$3" && "$1" "$4" bench_setup "$5" "$6"' bench "$loader" \
    "$win_build/bench/install_bench.exe" "$rounds" "$win_build/tests/e2e/ui_driver.exe" \
    "$win_build/app/ks3setup.exe" "$win_build/bench/screenshots" \
  | tr -d '\r' | grep -v '^wine: Read access denied' | tee "$results"
rm -rf "$win_build/wineprefix"  # it holds every round's installation

echo "== Calls made, counted through Wine's relay trace (one installation, fresh and over it)"
# The functions traced: tests/bench/relay_functions.txt; the trace slows the
# run down, so these runs are counted, never timed.
relay_log=$win_build/bench/relay.log
scripts/with-wine.sh "$win_build/wineprefix" "$loader" bash -c '
  "$1" reg add "HKCU\\Software\\Wine\\Debug" /v RelayInclude /d "$2" /f >/dev/null 2>&1
  WINEDEBUG=+relay "$1" "$3" calls 2>"$4" >/dev/null' relay "$loader" \
    "$(tr '\n' ';' <"$root/tests/bench/relay_functions.txt")" "$win_build/bench/install_bench.exe" "$relay_log"
rm -rf "$win_build/wineprefix"
# What the benchmark's default route installs: the program files, Flight
# Simulator 2004's four modules and the two model sets.
files=$(($(find "$tree/ks" "$tree/fs/aircraft" -type f | wc -l) + 4))
folders=$(find "$tree/ks" "$tree/fs/aircraft" -type d | wc -l)
python3 "$root/tests/bench/count_calls.py" "$relay_log" "$files" "$folders"

worker=$(sed -n 's/^best of [0-9]*: .* worker \([0-9.]*\) ms;.*/\1/p' "$results")
worker_median=$(sed -n 's/^best of .*; medians .* and \([0-9.]*\) ms$/\1/p' "$results")
setup=$(sed -n 's/^setup best of [0-9]*: \([0-9.]*\) ms,.*/\1/p' "$results")
setup_median=$(sed -n 's/^setup best of [0-9]*: [0-9.]* ms, median \([0-9.]*\) ms;.*/\1/p' "$results")
awk -v setup="$setup" -v worker="$worker" -v setup_median="$setup_median" -v worker_median="$worker_median" 'BEGIN {
  printf "ratio: setup / worker %.2f on the best times (%.1f and %.1f ms), %.2f on the medians (target 1.25 or less)\n",
    setup / worker, setup, worker, setup_median / worker_median
}'

if [ -n "$compare_bench" ]; then
  echo "== This worker against that of $BENCH_COMPARE: one round each, alternating ($rounds rounds)"
  compared=$win_build/bench/compared.txt
  scripts/with-wine.sh "$win_build/wineprefix" "$loader" bash -c '
    for _ in $(seq "$4"); do
      "$1" "$2" 1 | sed -n "s/^round 1: worker \([0-9.]*\) ms.*/this \1/p"
      "$1" "$3" 1 | sed -n "s/^round 1: worker \([0-9.]*\) ms.*/that \1/p"
    done' compare "$loader" "$win_build/bench/install_bench.exe" "$compare_bench" "$rounds" \
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
KESTREL_CRASH_STATES=all scripts/with-wine.sh "$win_build/wineprefix" "$loader" \
  "$loader" "$win_build/tests/win32/crash_states_tests.exe" \
  | tr -d '\r' | grep -E 'crash states checked|FAILED|Failure|PASSED'
rm -rf "$win_build/wineprefix"
