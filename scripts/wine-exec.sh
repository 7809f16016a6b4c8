#!/usr/bin/env bash
# Runs one Windows program under Wine inside the build tree's own prefix.
# Usage: wine-exec.sh PREFIX LOADER PROGRAM [ARGS...]
# ctest calls it for every Windows test executable; with-wine.sh has already
# created the prefix and started the wineserver that all of them share.
set -euo pipefail
prefix=$1 loader=$2
shift 2
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec "$loader" "$@"
