# Sourced by the run and test commands: one Wine prefix under the build folder, a display,
# a persistent wineserver and a virtual desktop kept alive for the whole run.
#
#   TAVLOX_BUILD      build folder (the prefix lives in $TAVLOX_BUILD/wine-prefix)
#   TAVLOX_XVFB=1     always use a virtual display, even when DISPLAY is set
#
# Call wine_env_start before running anything under Wine and wine_env_stop at the end.

WINE64=/usr/lib/wine/wine64
export WINE64

wine_env_start() {
  export WINEPREFIX="$TAVLOX_BUILD/wine-prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
  export WINEARCH=win64
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

  if [ "${TAVLOX_XVFB:-0}" = 1 ] || [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      TAVLOX_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    done
    export TAVLOX_VIRTUAL_DISPLAY=1
  fi

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    local reg="$TAVLOX_BUILD/wine-setup.reg"
    # No crash debugger (both registry views): a crash must end the process, not hang the run.
    # A virtual desktop: without a window manager every window close waits 2 s otherwise.
    cat > "$reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="0"
"Debugger"=""

[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="0"
"Debugger"=""

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1024"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    "$WINE64" regedit /S "$reg" >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi

  wineserver -p
  # Start the prefix's services (services.exe, winedevice, svchost) now, with their output going
  # nowhere: started later by a test, they would inherit the test's output pipe and CTest would
  # wait for them until the test's time limit.
  "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
  if [ -n "${TAVLOX_DESKTOP_ANCHOR:-}" ] && [ -f "$TAVLOX_DESKTOP_ANCHOR" ]; then
    # One hidden window for the whole run keeps the virtual desktop from restarting per test.
    # It reports when its window is up, so nothing starts while the desktop is still coming up.
    local ready="$TAVLOX_BUILD/desktop-anchor.ready"
    rm -f "$ready"
    "$WINE64" "$TAVLOX_DESKTOP_ANCHOR" "Z:${ready//\//\\}" >/dev/null 2>&1 &
    TAVLOX_ANCHOR_PID=$!
    local i
    for i in $(seq 200); do [ -e "$ready" ] && break; sleep 0.1; done
    [ -e "$ready" ] || echo "wine: the virtual desktop did not report ready within 20 s; going on"
  fi
}

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  [ -n "${TAVLOX_ANCHOR_PID:-}" ] && kill "$TAVLOX_ANCHOR_PID" 2>/dev/null
  [ -n "${TAVLOX_XVFB_PID:-}" ] && kill "$TAVLOX_XVFB_PID" 2>/dev/null
  return 0
}
