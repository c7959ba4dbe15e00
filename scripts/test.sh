#!/usr/bin/env bash
# Builds everything (Linux native, sanitizers and fuzzers with clang, Windows 64-bit and 32-bit)
# and runs every test: native, native under sanitizers, and the Windows tests under Wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export TAVLOX_BUILD="$root/build"
jobs=${TAVLOX_JOBS:-2}
start=$(date +%s)

bash scripts/deps.sh || exit 1

configure() {  # dir, extra cmake arguments...
  local dir=$1; shift
  [ -f "$TAVLOX_BUILD/$dir/build.ninja" ] || cmake -S . -B "$TAVLOX_BUILD/$dir" -G Ninja "$@" >/dev/null || return 1
}
build() {  # dir [targets...]
  local dir=$1; shift
  echo "== build $dir"
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$TAVLOX_BUILD/$dir" -j "$jobs" "${targets[@]}" >"$TAVLOX_BUILD/$dir.log" 2>&1 \
    || { tail -n 60 "$TAVLOX_BUILD/$dir.log"; return 1; }
}

mkdir -p "$TAVLOX_BUILD"
configure native -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
configure asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTAVLOX_SANITIZE=ON -DTAVLOX_FUZZ=ON -DTAVLOX_BENCH=OFF || exit 1
configure win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" || exit 1
configure win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" || exit 1
for b in native asan win64; do build $b || exit 1; done
# The 32-bit build is the program users get: always built, but only its programs, since its test
# programs cannot run on this kind of machine.
build win32 tavlox tavlox-http tavlox-skin demo_installer live_update window_probe || exit 1

failed=0
echo "== tests: native"
ctest --test-dir "$TAVLOX_BUILD/native" -j "$jobs" --output-on-failure || failed=1
echo "== tests: native under address and undefined-behaviour sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$TAVLOX_BUILD/asan" -j "$jobs" --output-on-failure || failed=1

echo "== tests: Windows 64-bit under Wine"
source scripts/wine-env.sh
export TAVLOX_XVFB=1
export TAVLOX_DESKTOP_ANCHOR="$TAVLOX_BUILD/win64/tests/wine/desktop_anchor.exe"
wine_start=$(date +%s)
wine_env_start
ctest --test-dir "$TAVLOX_BUILD/win64" -j "$jobs" --output-on-failure || failed=1
wine_env_stop
echo "Wine suite wall time: $(( $(date +%s) - wine_start )) s"

echo "== 32-bit smoke test"
if [ -x /usr/lib/wine/wine ] && [ -f /usr/lib/wine/i386-windows/kernel32.dll ]; then
  echo "32-bit Wine is present: running the 32-bit program's smoke test"
  bash tests/e2e/smoke32.sh "$TAVLOX_BUILD/win32" || failed=1
else
  echo "SKIPPED: the 32-bit program is built ($TAVLOX_BUILD/win32/app/tavlox.exe) but not run:" \
       "this host cannot execute 32-bit x86 code, so no 32-bit Wine is installed here."
fi

echo "Test command wall time: $(( $(date +%s) - start )) s"
if [ "$failed" != 0 ]; then
  echo "SOME TESTS FAILED"
  exit 1
fi
echo "ALL TESTS PASSED"
