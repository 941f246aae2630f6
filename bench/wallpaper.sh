#!/usr/bin/env bash
# Opening a wallpaper category of 200 multi-megapixel photos on the real page under Wine:
# the time until every thumbnail shows, the peak working set, and how long input waited for
# the message loop meanwhile; against the engine's native thumbnail benchmark (imgtool thumbs
# on the same 200 files, single-threaded).
#   usage: bench/wallpaper.sh
#   ZEL_WIN_TESTS   the Windows test program (default build/x64/tests/zel_win_tests.exe)
#   ZEL_IMGTOOL     the native imgtool (default out/native/imgtool, built when missing)
#   WINEPREFIX      a prefix to use (default: a throwaway one under build/bench/)
#   DISPLAY         a display to use (default: a virtual one is started)
# Everything it makes goes to build/bench/wallpaper/. Prints the figures.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/common.sh"
W="$ROOT/build/bench/wallpaper"
mkdir -p "$W"
TESTS="${ZEL_WIN_TESTS:-$ROOT/build/x64/tests/zel_win_tests.exe}"
IMG="${ZEL_IMGTOOL:-$ROOT/out/native/imgtool}"
COUNT=200
[ -f "$TESTS" ] || die "no Windows test program at $TESTS (make build, or set ZEL_WIN_TESTS)"
if [ ! -x "$IMG" ]; then
  step "Building imgtool"
  cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEL_OUT_DIR="$ROOT/out/native" >/dev/null
  cmake --build "$ROOT/build/native" --target imgtool >/dev/null
fi

# --- the category: every JPEG of at least 2 megapixels in the wallpaper packages, repeated
#     (as links) until there are 200 -------------------------------------------------------------
if [ ! -s "$W/photos.txt" ]; then
  for p in lomiri-wallpapers-16.04 lomiri-wallpapers-20.04 mate-backgrounds plasma-workspace-wallpapers ukui-wallpapers; do
    dpkg -L "$p" 2>/dev/null | grep -iE '\.jpe?g$' | while read -r f; do
      [ -f "$f" ] && [ ! -L "$f" ] || continue
      px=$(identify -format '%w %h' "$f" 2>/dev/null | awk '{print $1 * $2}')
      if [ "${px:-0}" -ge 2000000 ]; then echo "$f"; fi
    done || true
  done > "$W/photos.txt"
fi
mapfile -t SOURCES < "$W/photos.txt"
[ ${#SOURCES[@]} -gt 0 ] || die "no photos found; install the wallpaper packages (see bench/README.md)"
rm -rf "$W/photos" && mkdir -p "$W/photos"
PHOTOS=()
: > "$W/category.dat"
for ((i = 0; i < COUNT; i++)); do
  src="${SOURCES[$((i % ${#SOURCES[@]}))]}"
  dst="$W/photos/$(printf '%03d' "$i")_$(basename "$src")"
  ln -s "$src" "$dst"
  PHOTOS+=("$dst")
  printf 'Z:%s\r\n' "${dst//\//\\}" >> "$W/category.dat"
done
mp=$(for f in "${SOURCES[@]}"; do identify -format '%w %h\n' "$f" | awk '{print $1 * $2 / 1e6}'; done |
     sort -n | awk '{a[NR]=$1} END {printf "%.1f to %.1f", a[1], a[NR]}')
step "Category: $COUNT photos ($(printf '%s' "${#SOURCES[@]}") distinct, $mp megapixels)"

# --- native reference: the engine's thumbnail benchmark on the same files ------------------------
step "Native: imgtool thumbs 160 on the $COUNT files (best of 3)"
best=999999
for _ in 1 2 3; do
  rm -rf "$W/thumbs" && mkdir -p "$W/thumbs"
  /usr/bin/time -f '%e' -o "$W/time.txt" "$IMG" thumbs 160 "$W/thumbs" "${PHOTOS[@]}" >/dev/null
  best=$(awk -v a="$(cat "$W/time.txt")" -v b="$best" 'BEGIN { print (a < b) ? a : b }')
done
native_ms=$(awk -v t="$best" -v n="$COUNT" 'BEGIN { printf "%.2f", t * 1000 / n }')
note "native: ${best}s, ${native_ms} ms per picture"

# --- under Wine: the real page opening the category --------------------------------------------
started=()
cleanup() { for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & started+=($!)
  export DISPLAY=":$n"
  sleep 1
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$W/prefix"
  [ -d "$WINEPREFIX" ] || { step "Creating a Wine prefix"; wineboot -i >/dev/null 2>&1; }
fi
list="Z:$(printf '%s' "$W/category.dat" | tr '/' '\\')"
runs=3
step "Wine: opening the category on the wallpaper page ($runs runs, the best kept)"
: > "$W/wine.txt"
for ((r = 1; r <= runs; r++)); do
  ZEL_BENCH_LIST="$list" timeout 900 wine "$TESTS" --gtest_also_run_disabled_tests \
    --gtest_filter='WallpaperBench.DISABLED_OpenACategoryOfManyPhotos' 2>/dev/null | grep '^bench:' > "$W/run$r.txt" || true
  [ -s "$W/run$r.txt" ] || die "the measurement did not run (see $TESTS)"
  echo "run $r: $(tr '\n' ' ' < "$W/run$r.txt")" >> "$W/wine.txt"
done
bestrun=$(for r in $(seq 1 $runs); do echo "$(awk '/total_ms/ {print $3}' "$W/run$r.txt") $r"; done | sort -n | head -1 | cut -d' ' -f2)
val() { awk -v k="$1" '$2 == k {print $3}' "$W/run$bestrun.txt"; }
wine_ms=$(val per_picture_ms)
ratio=$(awk -v a="$wine_ms" -v b="$native_ms" 'BEGIN { printf "%.2f", a / b }')
RESULTS="$W/results.txt"
{
  echo "category of $(val pictures) photos ($mp MP, $(val unreadable) unreadable), window 1280x1000:"
  echo "  all thumbnails shown after $(val total_ms) ms under Wine: $wine_ms ms per picture;" \
       "native imgtool thumbs $native_ms ms per picture; ratio $ratio (goal <= 1.20)"
  echo "  the engine alone under Wine on the same files: $(val engine_per_picture_ms) ms per picture"
  echo "  input waited at worst $(val input_wait_worst_ms) ms (while $(val input_wait_worst_at) loaded)," \
       "on average $(val input_wait_mean_ms) ms ($(val input_answered) probes answered during the load)"
  echo "  working set $(val working_set_before_mb) MB before, $(val working_set_after_mb) MB after;" \
       "peak $(val peak_working_set_mb) MB"
  echo "  (all runs in $W/wine.txt)"
} | tee "$RESULTS"
