#!/usr/bin/env bash
# Runs the shell's operations end to end against the demo portal (see ops_flow.cpp).
#   tests/wine/ops/flow.sh BUILD_DIR     (BUILD_DIR: a win64 build; the Wine environment of
#                                          scripts/wine-env.sh must be started)
# The portal serves the demo installer on ports of its own (39180-39182), publishes version 2,
# the registry holds version 1 and no player key; afterwards the demo installer must have run
# from the directory of the program, and the portal must have seen the three requests.
set -u
build=$1
root=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
cp "$build/tests/wine/ops/ops_flow.exe" "$build/tests/wine/ops/sleeper.exe" "$work/"
log=$work/portal.log
python3 "$root/tools/demo-portal/portal.py" --update-port 39181 --vendor-port 39182 --content-port 39180 \
  --installer "$build/tools/demo_installer.exe" --ver 2 --log "$log" --until-stdin-closes \
  < <(sleep 120) 2>/dev/null &
portal=$!
python3 "$root/tools/demo-portal/portal.py" --update-port 39181 --vendor-port 39182 --content-port 39180 \
  --wait-ready --timeout 20 || { echo "portal did not start"; exit 1; }
"$WINE64" reg add 'HKLM\Software\kqtavlox' /v ver /t REG_SZ /d 1 /f >/dev/null 2>&1
"$WINE64" reg delete 'HKCU\Software\QvodPlayer' /f >/dev/null 2>&1
timeout 90 "$WINE64" "$work/ops_flow.exe" http://127.0.0.1:39181/tavlox/ver.txt \
  http://127.0.0.1:39182/QvodSetup3_blue.exe http://127.0.0.1:39182/ </dev/null
rc=$?
"$WINE64" reg delete 'HKLM\Software\kqtavlox' /f >/dev/null 2>&1
for i in $(seq 50); do [ -f "$work/installer-ran.txt" ] && break; sleep 0.1; done
if [ -f "$work/installer-ran.txt" ]; then echo "ok: the demo installer ran: $(cat "$work/installer-ran.txt")"; else echo "FAILED: the demo installer did not run"; rc=1; fi
grep -c -E '"(GET /tavlox/ver.txt|HEAD /QvodSetup3_blue.exe|GET /QvodSetup3_blue.exe) ' "$log" | \
  { read n; if [ "$n" = 3 ]; then echo "ok: the portal saw GET ver.txt, HEAD and GET of the installer"; else echo "FAILED: portal requests: $n"; cat "$log"; exit 1; fi; } || rc=1
kill "$portal" 2>/dev/null
rm -rf "$work"
exit $rc
