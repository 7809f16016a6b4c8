#!/usr/bin/env bash
# Fails unless the scenarios that the UI driver knows are exactly those that
# CMake registered as tests: one that the registration's pattern misses (an
# indented or a misspelt SCENARIO) would otherwise compile and never run.
# Usage: check-scenario-list.sh REGISTERED_LIST DRIVER_COMMAND...
# DRIVER_COMMAND is the driver as Wine runs it; it is given --list.
set -euo pipefail
registered=$1
shift
known=$("$@" --list | tr -d '\r' | sort)
if ! diff -u --label "registered by CMake (and the benchmark's walk)" --label "known to the driver" <(sort "$registered") - <<<"$known"; then
  echo "The scenarios registered as tests differ from those the driver knows (lines above)." >&2
  exit 1
fi
echo "$(wc -l <<<"$known") scenarios, each registered as a test"
