#!/usr/bin/env bash
# "Apply" of the logon page on 24-megapixel photographs: the time and the number of JPEG encodes
# it takes to install a file of at most 249,856 bytes at a screen size, next to ImageMagick's
#   convert IN -resize WxH! -define jpeg:extent=249856 OUT
# on the same picture (single-threaded, like us).
#   usage: bench/logon.sh [WIDTH HEIGHT]          (default 1920 1080)
# Environment: ZEL_WIN_BUILD=build/x64-...  also times the Windows build under Wine.
# Everything it makes goes to build/bench/logon/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/common.sh"
W="$ROOT/build/bench/logon"
mkdir -p "$W"
SW=${1:-1920}
SH=${2:-1080}
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1

PACKAGES=(lomiri-wallpapers-20.04 mate-backgrounds imagemagick)
install_packages "Benchmark inputs and peers" "${PACKAGES[@]}"

BUILD="$ROOT/${ZEL_NATIVE_BUILD:-build/native}"
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
step "Building logon_bench"
cmake --build "$BUILD" --target logon_bench >/dev/null
BENCH="$BUILD/src/logon/logon_bench"

# Two real 24-megapixel photographs: a painting photographed at 6000 x 4000, and a detailed
# photo (17.9 MP) enlarged to 6000 x 4000 once, saved at quality 92.
PHOTOS=(/usr/share/backgrounds/Painting-Colors_by__herobrine7gamer.jpg)
if [ ! -f "$W/elephants-24mp.jpg" ]; then
  convert /usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg -resize '6000x4000!' -quality 92 \
    "$W/elephants-24mp.jpg"
fi
PHOTOS+=("$W/elephants-24mp.jpg")

now() { date +%s.%N; }
best_im() { # in out -> best wall time of 3 ImageMagick runs
  local min=999999 t0 t
  for _ in 1 2 3; do
    t0=$(now)
    convert "$1" -resize "${SW}x${SH}!" -define jpeg:extent=249856 "$2"
    t=$(awk -v a="$(now)" -v b="$t0" 'BEGIN{print a-b}')
    min=$(awk -v a="$t" -v b="$min" 'BEGIN{print (a < b) ? a : b}')
  done
  echo "$min"
}

step "Apply at ${SW}x${SH}, best of 3 runs each"
for f in "${PHOTOS[@]}"; do
  name=$(basename "$f")
  ours=$("$BENCH" "$f" "$W/ours.jpg" "$SW" "$SH" 3)
  im=$(best_im "$f" "$W/im.jpg")
  decode=$(echo "$ours" | sed -E 's/.*decode ([0-9.]+)s.*/\1/')
  apply=$(echo "$ours" | sed -E 's/.*apply ([0-9.]+)s.*/\1/')
  total=$(awk -v a="$decode" -v b="$apply" 'BEGIN{printf "%.3f", a + b}')
  echo "$name"
  echo "  ours:        $ours"
  echo "  ours, decode + apply ${total}s; ImageMagick (decode, resize, extent search) ${im}s;" \
       "file sizes $(stat -c %s "$W/ours.jpg") vs $(stat -c %s "$W/im.jpg") bytes," \
       "quality $(identify -format %Q "$W/ours.jpg") vs $(identify -format %Q "$W/im.jpg")"
  if [ -n "${ZEL_WIN_BUILD:-}" ]; then
    WB="$ROOT/$ZEL_WIN_BUILD"
    cmake --build "$WB" --target logon_bench >/dev/null
    winpath="Z:$(echo "$f" | tr / '\\')"
    echo "  under Wine:  $(wine "$WB/src/logon/logon_bench.exe" "$winpath" "Z:$(echo "$W/wine.jpg" | tr / '\\')" "$SW" "$SH" 3 2>/dev/null)"
  fi
done
