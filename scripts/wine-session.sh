# Sourced by the demo and test scripts: a display and a Wine prefix of our own.
#   qv_start_display [force]   start Xvfb unless DISPLAY is set (or always, with "force")
#   qv_start_wine PREFIX       prepare PREFIX once, then keep one Wine server running
#   qv_stop_session            stop what the two above started
#
# qv_pick_wine (called by qv_start_wine) sets QV_WIN_ARCH to the Windows build
# that Wine can run here: i686, the program as shipped, where the kernel runs
# 32-bit Linux programs; x86_64 where it cannot (no IA-32 emulation), since
# this Wine runs 32-bit Windows programs only through its 32-bit loader.
# QV_WIN_ARCH=x86_64 in the environment forces the 64-bit path on a machine
# that could run both, so that path can be checked anywhere.

QV_XVFB_PID=""

qv_start_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != force ]; then return 0; fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
    QV_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$QV_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "wine-session: no free display for Xvfb" >&2
  return 1
}

qv_pick_wine() {
  if [ "${QV_WIN_ARCH:-}" != x86_64 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export QV_WINE=/usr/lib/wine/wine QV_WIN_ARCH=i686 WINEARCH=win32
  else
    export QV_WINE=/usr/lib/wine/wine64 QV_WIN_ARCH=x86_64 WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
  fi
}

qv_start_wine() {
  qv_pick_wine
  export WINEPREFIX="$1-$QV_WIN_ARCH"
  export WINEDEBUG=-all
  # No Mono or Gecko installer dialogs: the prefix must come up headless and fast.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$QV_WINE" wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    # This Wine finds none of the Windows fonts unless they sit in the prefix.
    cp /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  wineserver -p
  # Start Wine's services once, with their output going nowhere, so that test
  # processes neither pay for them nor hand them their own pipes.
  "$QV_WINE" cmd /c exit </dev/null >/dev/null 2>&1
}

qv_stop_session() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$QV_XVFB_PID" ]; then kill "$QV_XVFB_PID" 2>/dev/null || true; wait "$QV_XVFB_PID" 2>/dev/null || true; fi
  QV_XVFB_PID=""
}
