#!/usr/bin/env bash
# Runs one Windows test program under 64-bit Wine with a time limit.
# Usage: run-wine-test.sh SECONDS PROGRAM.exe [ARGS...]
# The environment (WINEPREFIX, DISPLAY, LANG, WINEDEBUG, a running wineserver) comes from
# scripts/wine-env.sh, which the test command sources before it runs CTest.
set -u
limit=$1; shift
exe=$1; shift
: "${WINE64:=/usr/lib/wine/wine64}"
cd "$(dirname "$exe")" || exit 2
timeout -k 5 "$((limit - 5))" "$WINE64" "$exe" "$@"
rc=$?
if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
  echo "FAIL: $(basename "$exe") did not end within $((limit - 5)) s"
fi
exit "$rc"
