#!/usr/bin/env bash
# Every benchmark, one after the other, with their figures gathered in build/bench/all.txt.
source "$(dirname "$0")/../scripts/common.sh"
cd "$ZEL_ROOT"
out="$ZEL_ROOT/build/bench/all.txt"
mkdir -p "$(dirname "$out")"
: > "$out"
for b in run startup icons logon wallpaper; do
  step "bench/$b.sh"
  if ! env -u DISPLAY bash "bench/$b.sh" 2>&1 | tee -a "$out"; then
    echo "bench/$b.sh failed" | tee -a "$out"
  fi
done
step "Figures gathered in $out"
