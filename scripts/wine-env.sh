# Sourced by the test and run drivers: a Wine prefix, a display, a kept-alive wineserver, and
# the clean-up that ends every process they started.
#   wine_start [prefix]   a throwaway prefix when none is given
#   wine_stop             ends the wineserver and Xvfb started here, removes a throwaway prefix

WINE_THROWAWAY=""
XVFB_PID=""
WINESERVER_PID=""

wine_start() {
  command -v wine >/dev/null && command -v wineboot >/dev/null \
    || die "the commands wine and wineboot are missing: install the Debian package wine (scripts/setup.sh does)"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -n "${1:-}" ]; then
    export WINEPREFIX="$1"
  else
    WINE_THROWAWAY=$(mktemp -d /tmp/zelvane-wine.XXXXXX)
    export WINEPREFIX="$WINE_THROWAWAY/prefix"
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    note "virtual display $DISPLAY (Xvfb)"
  fi
  local server=/usr/lib/wine/wineserver64
  [ -x "$server" ] || server=$(command -v wineserver)
  # A server kept alive makes every test process start in a few milliseconds.
  setsid "$server" -f -p >/dev/null 2>&1 < /dev/null &
  WINESERVER_PID=$!
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    note "creating the Wine prefix $WINEPREFIX (about 10 s)"
  fi
  local boot_log="$(dirname "$WINEPREFIX")/wineboot.log"
  wineboot -i >"$boot_log" 2>&1 || { tail -20 "$boot_log" >&2; die "wineboot failed for $WINEPREFIX"; }
  if [ -n "$XVFB_PID" ]; then
    # No window manager runs on the virtual display: unmanaged windows hide and close at once
    # instead of waiting for a manager that never answers.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  fi
  # Let the prefix's own services settle before tests start, so none of them holds a test's output.
  wine cmd /c exit >/dev/null 2>&1 || true
}

wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    local server=/usr/lib/wine/wineserver64
    [ -x "$server" ] || server=$(command -v wineserver)
    "$server" -k >/dev/null 2>&1 || true
  fi
  [ -n "$WINESERVER_PID" ] && kill "$WINESERVER_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  [ -n "$WINE_THROWAWAY" ] && rm -rf "$WINE_THROWAWAY"
  WINESERVER_PID=""; XVFB_PID=""; WINE_THROWAWAY=""
}
