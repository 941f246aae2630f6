#!/usr/bin/env bash
# Installs what is missing, builds Zelvane.exe (x64) and starts it under Wine: on $DISPLAY when
# set (until you close it), otherwise on a virtual display, where it saves a screenshot of the
# main window and prints its path.
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/wine-env.sh"
cd "$ZEL_ROOT"

bash scripts/build.sh x64
exe="$ZEL_ROOT/out/x64/Zelvane.exe"
# The program's own prefix for interactive runs, kept between runs (tests use throwaway ones).
prefix="$ZEL_CACHE/wine-run/prefix"

if [ -n "${DISPLAY:-}" ]; then
  step "Starting Zelvane on $DISPLAY"
  trap wine_stop EXIT
  wine_start "$prefix"
  wine "$exe"
  exit 0
fi

step "Starting Zelvane on a virtual display"
trap wine_stop EXIT
wine_start "$prefix"
shot="$ZEL_ROOT/out/screenshot.png"
wine "$exe" >/dev/null 2>&1 &
pid=$!
found=""
for _ in $(seq 100); do
  found=$(xdotool search --onlyvisible --name '^Zelvane$' 2>/dev/null | head -n 1) && [ -n "$found" ] && break
  sleep 0.2
done
[ -n "$found" ] || die "the main window did not appear within 20 s"
sleep 1.5   # let the first paint and the monitor's first tick finish
import -window "$found" "$shot" 2>/dev/null || import -window root "$shot" 2>/dev/null || die "taking the screenshot failed"
step "Screenshot of the main window: $shot"
xdotool windowclose "$found" >/dev/null 2>&1 || true
sleep 1
kill "$pid" 2>/dev/null || true
