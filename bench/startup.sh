#!/usr/bin/env bash
# Start-up under Wine: milliseconds from process start to the first full paint of the main
# window, against a trivial Win32 window program measured in the same run; then the x64 exe's
# size and its working set after start-up.
source "$(dirname "$0")/../scripts/common.sh"
source "$ZEL_ROOT/scripts/wine-env.sh"
runs="${RUNS:-10}"
exe="$ZEL_ROOT/out/x64/Zelvane.exe"
trivial="$ZEL_ROOT/build/x64/bench/trivial_window.exe"
[ -f "$exe" ] && [ -f "$trivial" ] || die "build first (make build)"
trap 'wine_stop; cpu_awake_stop' EXIT
cpu_awake_start   # both programs measured with the spare core awake (see scripts/common.sh)
wine_start
probe=$(mktemp)
winprobe=$(winepath -w "$probe")
measure() { # exe -> median ms over $runs runs
  local values=() v
  ZELVANE_STARTUP_PROBE="$winprobe" wine "$1" >/dev/null 2>&1 || true   # warm the caches and the wineserver
  for _ in $(seq "$runs"); do
    rm -f "$probe"
    ZELVANE_STARTUP_PROBE="$winprobe" wine "$1" >/dev/null 2>&1
    v=$(cut -d' ' -f1 "$probe" 2>/dev/null || echo nan); values+=("$v")
  done
  printf '%s\n' "${values[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}
# A support value of 0 keeps the start-up reminder closed for the measurement.
wine reg add 'HKCU\Software\Kestrom\Support' /v 19 /t REG_SZ /d 0 /f >/dev/null 2>&1
z=$(measure "$exe")
t=$(measure "$trivial")
printf 'start-up to first paint (median of %s): Zelvane %.1f ms, trivial window %.1f ms, ratio %.2f\n' "$runs" "$z" "$t" "$(echo "$z / $t" | bc -l)"
printf 'x64 exe size: %s bytes (%.2f MB)\n' "$(stat -c %s "$exe")" "$(echo "$(stat -c %s "$exe") / 1048576" | bc -l)"
ZELVANE_STARTUP_PROBE="$winprobe" wine "$exe" >/dev/null 2>&1
printf 'working set at the first full paint: %s kB\n' "$(cut -d' ' -f2 "$probe")"
rm -f "$probe"
