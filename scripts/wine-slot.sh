# Sourced by cmake/wine-run and tests/e2e/e2e_lib.sh (POSIX sh). Under ctest
# with the resource file that test.sh writes, each Windows test is given one of
# the run's Wine sessions (scripts/wine-session.sh): CTest names it in
# CTEST_RESOURCE_GROUP_0_WINE ("id:sN,slots:1"), and QV_WINE_SESSION_sN holds
# its display and prefix. Elsewhere DISPLAY and WINEPREFIX stay as they are.
if [ -n "${CTEST_RESOURCE_GROUP_0_WINE:-}" ]; then
  qv_slot=${CTEST_RESOURCE_GROUP_0_WINE#id:}
  qv_slot=${qv_slot%%,*}
  case $qv_slot in
    s[0-9] | s[0-9][0-9]) ;;
    *) echo "wine-slot: no such session: $CTEST_RESOURCE_GROUP_0_WINE" >&2; exit 1 ;;
  esac
  eval "qv_slot=\${QV_WINE_SESSION_$qv_slot:-}"
  [ -n "$qv_slot" ] || { echo "wine-slot: session $CTEST_RESOURCE_GROUP_0_WINE not set up" >&2; exit 1; }
  DISPLAY=${qv_slot%% *}
  WINEPREFIX=${qv_slot#* }
  export DISPLAY WINEPREFIX
  unset qv_slot
fi

# A test that sets another DPI (LogPixels) for the programs it starts marks the
# prefix with qv-dpi-changed until it has set 96 again. Ended before it could,
# it leaves the mark, and whatever runs next in the prefix sets 96 first.
if [ -n "${WINEPREFIX:-}" ] && [ -e "$WINEPREFIX/qv-dpi-changed" ]; then
  WINEDEBUG=-all "${QV_WINE:-wine}" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d 96 /f >/dev/null 2>&1 && rm -f "$WINEPREFIX/qv-dpi-changed"
fi
