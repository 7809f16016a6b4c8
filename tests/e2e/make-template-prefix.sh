#!/usr/bin/env bash
# Creates the Wine prefix that every scenario starts from as a copy of its
# own: one wineboot per test run instead of one per scenario.
# Usage: make-template-prefix.sh PREFIX LOADER
set -euo pipefail
prefix=$1 loader=$2
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
rm -rf "$prefix"
mkdir -p "$prefix"
init_wine_prefix
# The server writes the registry to disk when it ends; copies need it there.
"$wineserver" -w
