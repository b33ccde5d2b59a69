# Sourced by the demo and test scripts: displays and Wine prefixes of our own.
#   qv_start_display [force]   start Xvfb unless DISPLAY is set (or always, with "force")
#   qv_start_wine PREFIX       prepare PREFIX once, then keep one Wine server running
#   qv_stop_session            stop what the two above started
# The test run has several sessions side by side, so that Windows tests run
# in parallel without seeing each other's windows, files or registry:
#   qv_prepare_prefix PREFIX   make a prefix ready for tests (no server left running)
#   qv_start_sessions N PREFIX RESOURCES
#                              N sessions, each an Xvfb display, a copy of the
#                              prepared PREFIX (PREFIX-0 ... PREFIX-N-1) and a Wine
#                              server of its own; writes CTest's resource file RESOURCES
#   qv_stop_sessions           stop them
# CTest hands each Windows test one session (RESOURCE_GROUPS wine:1); the
# wrappers find its display and prefix through scripts/wine-slot.sh.
#
# qv_pick_wine (called by qv_start_wine) sets QV_WIN_ARCH to the Windows build
# that Wine can run here: i686, the program as shipped, where the kernel runs
# 32-bit Linux programs; x86_64 where it cannot (no IA-32 emulation), since
# this Wine runs 32-bit Windows programs only through its 32-bit loader.
# QV_WIN_ARCH=x86_64 in the environment forces the 64-bit path on a machine
# that could run both, so that path can be checked anywhere.

QV_XVFB_PID=""

# qv_new_display: starts one more Xvfb, which picks a free display number
# itself (no race with other runs on the machine); sets QV_NEW_DISPLAY (":N")
# and QV_NEW_XVFB_PID.
qv_new_display() {
  local fdfile n="" i
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  QV_NEW_XVFB_PID=$!
  # The number is written once the server takes connections.
  for i in $(seq 1 300); do
    n=$(tr -dc 0-9 <"$fdfile")
    [ -n "$n" ] && break
    kill -0 "$QV_NEW_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$fdfile"
  if [ -z "$n" ]; then
    kill "$QV_NEW_XVFB_PID" 2>/dev/null || true
    echo "wine-session: Xvfb did not start" >&2
    return 1
  fi
  QV_NEW_DISPLAY=":$n"
}

qv_start_display() {
  if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != force ]; then return 0; fi
  qv_new_display || return 1
  QV_XVFB_PID=$QV_NEW_XVFB_PID
  export DISPLAY=$QV_NEW_DISPLAY
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

# qv_prepare_prefix PREFIX: a prefix ready for tests, made once: Wine's own
# set-up, the fonts, and unmanaged windows (Xvfb runs no window manager:
# unmanaged windows spare every test process Wine's two-second wait for a
# manager to withdraw its windows at exit). Its server is ended, so that the
# registry is on disk and the prefix can be copied.
qv_prepare_prefix() {
  local prefix=$1
  qv_pick_wine
  (
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -f "$prefix/system.reg" ]; then
      mkdir -p "$prefix"
      "$QV_WINE" wineboot -i </dev/null >/dev/null 2>&1
      cp /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    "$QV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    wineserver -w
  )
}

# qv_copy_prefix FROM TO: a copy of a prepared prefix in a second or so: Wine's
# own programs, libraries and fonts (most of its 600 MB), which nothing
# writes, are hard links to the same files; everything else is a copy of its
# own (the registry, the .ini files, the folders the tests write into).
qv_copy_prefix() {
  cp -al "$1" "$2"
  find "$2" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
         -o -iname '*.vxd' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.nls' -o -iname '*.acm' \
         -o -iname '*.tlb' -o -iname '*.fon' -o -iname '*.ttf' \) \
    -exec sh -c 'for f; do cp -p "$f" "$f.qv-copy" && mv -f "$f.qv-copy" "$f"; done' sh {} +
}

QV_SESSION_XVFB_PIDS=()
QV_SESSION_PREFIXES=()

# qv_start_sessions N PREFIX RESOURCES: see the top of this file. Session i is
# exported as QV_WINE_SESSION_si="DISPLAY PREFIX-i" for scripts/wine-slot.sh.
qv_start_sessions() {
  local count=$1 prefix=$2 resources=$3 i ids="" p starting=()
  qv_pick_wine
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  for ((i = 0; i < count; i++)); do
    p="$prefix-$i"
    rm -rf "$p"
    qv_copy_prefix "$prefix" "$p"
    qv_new_display || return 1
    QV_SESSION_XVFB_PIDS+=("$QV_NEW_XVFB_PID")
    QV_SESSION_PREFIXES+=("$p")
    export "QV_WINE_SESSION_s$i=$QV_NEW_DISPLAY $p"
    ids+="${ids:+, }{\"id\": \"s$i\", \"slots\": 1}"
  done
  # The servers and Wine's services, started once per session with their
  # output going nowhere, so that test processes neither pay for them nor
  # hand them their own pipes; all sessions at once.
  for ((i = 0; i < count; i++)); do
    p="$prefix-$i"
    (
      export WINEPREFIX=$p
      DISPLAY=$(eval "echo \"\${QV_WINE_SESSION_s$i%% *}\"")
      export DISPLAY
      wineserver -p
      "$QV_WINE" cmd /c exit </dev/null >/dev/null 2>&1
    ) &
    starting+=($!)
  done
  wait "${starting[@]}"
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"wine": [%s]}]}\n' "$ids" >"$resources"
}

qv_stop_sessions() {
  local p pid
  for p in "${QV_SESSION_PREFIXES[@]}"; do WINEPREFIX=$p wineserver -k 2>/dev/null || true; done
  for pid in "${QV_SESSION_XVFB_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  QV_SESSION_PREFIXES=()
  QV_SESSION_XVFB_PIDS=()
}
