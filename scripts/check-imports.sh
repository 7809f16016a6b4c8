#!/usr/bin/env bash
# Fails unless every given Windows binary imports system DLLs only, so that the
# setup program stays one file that runs on a bare Windows installation.
# Usage: check-imports.sh OBJDUMP BINARY...
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|shlwapi|msvcrt)\.dll$'
status=0
for binary in "$@"; do
  while read -r dll; do
    if ! [[ "${dll,,}" =~ $allowed ]]; then
      echo "$binary imports $dll, which is not a system DLL"
      status=1
    fi
  done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
  echo "$(basename "$binary"): $("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
done
exit $status
