#!/usr/bin/env bash
# Fails unless every Windows binary under the given build trees imports system
# DLLs only, so that the setup program stays one file that runs on a bare
# Windows installation, and what it installs and tests with does too. Lists
# every binary it examined with its imports.
# Usage: check-imports.sh OBJDUMP BUILD_DIR...
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|shlwapi|msvcrt|psapi)\.dll$'
status=0 count=0
for root in "$@"; do
  # The Wine prefix holds Wine's own DLLs and CMakeFiles the compiler checks; neither is ours.
  while IFS= read -r -d '' binary; do
    count=$((count + 1))
    imports=$("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
    echo "${binary#"$root"/}: $(echo $imports)"
    for dll in $imports; do
      if ! [[ "${dll,,}" =~ $allowed ]]; then
        echo "  imports $dll, which is not a system DLL"
        status=1
      fi
    done
  done < <(find "$root" \( -name wineprefix -o -name CMakeFiles \) -prune -o -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0 | sort -z)
done
if [ "$count" -eq 0 ]; then
  echo "No Windows binaries found under $*"
  exit 1
fi
echo "$count binaries examined"
exit $status
