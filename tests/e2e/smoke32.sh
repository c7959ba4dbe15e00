#!/usr/bin/env bash
# Smoke test of the 32-bit program, for hosts that can execute 32-bit x86 code (with 32-bit Wine):
# start it with the demo portal, wait for the four page requests of the first show, close the
# main window and expect exit code 0.
# Usage: smoke32.sh BUILD_DIR   (the win32 build folder: BUILD_DIR/app/tavlox.exe)
set -u
build=$(cd "${1:?usage: smoke32.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
export TAVLOX_BUILD=${TAVLOX_BUILD:-$(dirname "$build")}
source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
timeout -k 5 150 python3 "$root/tests/e2e/shell/main_window_test.py" --smoke --wine /usr/lib/wine/wine \
  --program "$build/app/tavlox.exe" --probe "$build/tests/e2e/probe/window_probe.exe" \
  --portal "$root/tools/demo-portal/portal.py" --installer "$build/tools/demo_installer.exe" \
  --out "$build/e2e-smoke32"
