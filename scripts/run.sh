#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine against the bundled demo portal.
# On a machine with a display the window opens there and the command ends when you close it.
# Without a display it runs on a virtual one, saves a screenshot of the main window a few seconds
# after start and prints where it is; stop it with Ctrl+C.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export TAVLOX_BUILD="$root/build"

bash scripts/deps.sh || exit 1
# 64-bit build: this kind of machine cannot execute 32-bit x86 code (the 32-bit build is the
# one users get on Windows, and `scripts/test.sh` builds it too).
[ -f "$TAVLOX_BUILD/win64/build.ninja" ] || cmake -S . -B "$TAVLOX_BUILD/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" >/dev/null || exit 1
echo "== building the Windows program"
cmake --build "$TAVLOX_BUILD/win64" -j 2 --target tavlox demo_installer live_update desktop_anchor window_probe >"$TAVLOX_BUILD/run-build.log" 2>&1 \
  || { tail -n 40 "$TAVLOX_BUILD/run-build.log"; exit 1; }

rundir="$TAVLOX_BUILD/run"
mkdir -p "$rundir"
cp "$TAVLOX_BUILD/win64/app/tavlox.exe" "$rundir/"
cp "$TAVLOX_BUILD/win64/tools/LiveUpdate.exe" "$rundir/" 2>/dev/null || true

source scripts/wine-env.sh
export TAVLOX_DESKTOP_ANCHOR="$TAVLOX_BUILD/win64/tests/wine/desktop_anchor.exe"
wine_env_start

python3 tools/demo-portal/portal.py --installer "$TAVLOX_BUILD/win64/tools/demo_installer.exe" \
  --log "$rundir/portal.log" &
portal=$!
cleanup() { kill "$portal" 2>/dev/null; wine_env_stop; }
trap cleanup EXIT
trap 'exit 130' INT TERM
python3 tools/demo-portal/portal.py --wait-ready || { echo "the demo portal did not start"; exit 1; }

echo "== starting tavlox.exe under Wine (display $DISPLAY)"
(cd "$rundir" && "$WINE64" tavlox.exe) &
program=$!
if [ "${TAVLOX_VIRTUAL_DISPLAY:-0}" = 1 ]; then
  # First the main window alone, before the start-up checks (6 s after start) may open a prompt
  # over it; then the whole virtual screen, with whatever the checks show.
  sleep 4
  crop=()
  facts=$("$WINE64" "$TAVLOX_BUILD/win64/tests/e2e/probe/window_probe.exe" find tavlox.exe 5000 2>/dev/null) \
    && rect=$(sed -n 's/.* window=\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\) .*/\1 \2 \3 \4/p' <<<"$facts") \
    && [ -n "$rect" ] && read -r l t r b <<<"$rect" \
    && crop=(--crop "$l,$t,$r,$b")
  python3 scripts/screengrab.py "$rundir/screenshot.png" "${crop[@]}" \
    && echo "No display here: a screenshot of the main window, 4 s after start, is at $rundir/screenshot.png"
  sleep 8
  python3 scripts/screengrab.py "$rundir/screenshot-screen.png" \
    && echo "and one of the whole virtual screen, 12 s after start, is at $rundir/screenshot-screen.png"
  echo "The program keeps running on the virtual display $DISPLAY; press Ctrl+C to stop it."
fi
wait "$program"
echo "tavlox.exe ended with exit code $?"
