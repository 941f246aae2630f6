#!/usr/bin/env bash
# The image engine's benchmark: imgtool side by side with vipsthumbnail, ImageMagick, djpeg,
# cjpeg and tiffcp on real photographs from Debian's wallpaper packages, in one run.
#   usage: bench/run.sh            (builds out/native/imgtool first if needed)
# Everything it makes goes to build/bench/. Prints the measured ratios. Times are CPU time (user
# plus system) of single-threaded runs, which a busy machine disturbs far less than wall time.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/common.sh"
W="$ROOT/build/bench"
mkdir -p "$W"
IMG="$ROOT/out/native/imgtool"
IM=/usr/bin/convert
export MAGICK_THREAD_LIMIT=1 VIPS_CONCURRENCY=1 OMP_NUM_THREADS=1  # single-threaded, like us

PACKAGES=(lomiri-wallpapers-16.04 lomiri-wallpapers-20.04 mate-backgrounds plasma-workspace-wallpapers ukui-wallpapers
          lomiri-wallpapers imagemagick libvips-tools libjpeg-turbo-progs libtiff-tools poppler-utils xterm x11-apps xvfb)
install_packages "Benchmark inputs and peers" "${PACKAGES[@]}"
if [ ! -x "$IMG" ]; then
  step "Building imgtool"
  cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEL_OUT_DIR="$ROOT/out/native" >/dev/null
  cmake --build "$ROOT/build/native" --target imgtool >/dev/null
fi

# The photo set: every JPEG of at least 2 megapixels in the wallpaper packages.
: > "$W/photos.txt"
for p in lomiri-wallpapers-16.04 lomiri-wallpapers-20.04 mate-backgrounds plasma-workspace-wallpapers ukui-wallpapers; do
  dpkg -L "$p" | grep -iE '\.jpe?g$' | while read -r f; do
    [ -f "$f" ] && [ ! -L "$f" ] || continue
    px=$(identify -format '%w %h' "$f" 2>/dev/null | awk '{print $1 * $2}')
    if [ "${px:-0}" -ge 2000000 ]; then echo "$f"; fi
  done >> "$W/photos.txt" || true
done
mapfile -t PHOTOS < "$W/photos.txt"
[ ${#PHOTOS[@]} -gt 0 ] || die "no photos found in the wallpaper packages"
step "Photo set: ${#PHOTOS[@]} JPEG photographs of 2 to 24 megapixels (list in $W/photos.txt)"

now() { date +%s.%N; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
RESULTS="$W/results.txt"
: > "$RESULTS"
report() { printf '%s\n' "$*" | tee -a "$RESULTS"; }

# --- 1. thumbnails ------------------------------------------------------------------------------
step "160-pixel thumbnails of the whole set, one process each, single-threaded"
rm -rf "$W/thumbs" "$W/vips" "$W/im" && mkdir -p "$W/thumbs" "$W/vips" "$W/im"
best() { # command... -> least CPU time (user + system) of 3 runs, and peak RSS (KB) of the last
  local u s min=999999 rss=0
  for _ in 1 2 3; do
    /usr/bin/time -f '%U %S %M' -o "$W/time.txt" "$@" >/dev/null 2>"$W/err.txt" || { cat "$W/err.txt"; return 1; }
    read -r u s rss < "$W/time.txt"
    min=$(awk -v a="$u" -v b="$s" -v m="$min" 'BEGIN { t = a + b; print (t < m) ? t : m }')
  done
  echo "$min $rss"
}
cpu() { # command... -> its CPU time (user + system), output discarded
  /usr/bin/time -f '%U %S' -o "$W/time.txt" "$@" >/dev/null 2>>"$W/err.txt"
  awk '{ print $1 + $2 }' "$W/time.txt"
}
read -r t_ours rss_ours < <(best "$IMG" thumbs 160 "$W/thumbs" "${PHOTOS[@]}")
read -r t_vips rss_vips < <(best vipsthumbnail -s 160 -o "$W/vips/%s.jpg" "${PHOTOS[@]}")
read -r t_im rss_im < <(best mogrify -path "$W/im" -format jpg -thumbnail 160x160 "${PHOTOS[@]}")
# PSNR of each thumbnail against the area average of the fully decoded photo.
psnr_min=999
i=0
for f in "${PHOTOS[@]}"; do
  "$IMG" convert "$f" "$W/full.bmp"
  "$IMG" thumb "$W/full.bmp" "$W/ref.bmp" 160
  p=$(compare -metric PSNR "$W/thumbs/$i.bmp" "$W/ref.bmp" null: 2>&1 || true)
  [ "$p" = "inf" ] && p=99
  psnr_min=$(awk -v a="$p" -v b="$psnr_min" 'BEGIN { print (a < b) ? a : b }')
  i=$((i + 1))
done
rm -f "$W/full.bmp"
report "thumbnails: ours ${t_ours}s (peak $((rss_ours / 1024)) MiB, vipsthumbnail $((rss_vips / 1024)) MiB), vipsthumbnail ${t_vips}s, ImageMagick ${t_im}s;" \
       "ratio to vipsthumbnail $(ratio "$t_ours" "$t_vips") (goal <= 1.0), to ImageMagick $(ratio "$t_ours" "$t_im");" \
       "lowest PSNR against a full-decode thumbnail ${psnr_min} dB (goal >= 35)"

# --- 2. logon JPEG fit --------------------------------------------------------------------------
step "Each photo to a 1920x1080 JPEG of at most 249,856 bytes"
t_fit=0; t_imfit=0
for f in "${PHOTOS[@]}"; do
  t_fit=$(awk -v a="$t_fit" -v b="$(cpu "$IMG" fit "$f" "$W/fit.jpg" 1920 1080 249856)" 'BEGIN { print a + b }')
  t_imfit=$(awk -v a="$t_imfit" -v b="$(cpu $IM "$f" -resize '1920x1080!' -define jpeg:extent=249856 "$W/im.jpg")" 'BEGIN { print a + b }')
done
over=0; maxenc=0; wrong=0
: > "$W/fit.log"
for f in "${PHOTOS[@]}"; do
  r=$("$IMG" fit "$f" "$W/fit.jpg" 1920 1080 249856)
  l=$("$IMG" fit "$f" "$W/lin.jpg" 1920 1080 249856 --linear)
  echo "$f: $r | linear: $l" >> "$W/fit.log"
  q=$(echo "$r" | awk '{print $2}'); s=$(echo "$r" | awk '{print $4}'); e=$(echo "$r" | awk '{print $6}')
  [ "$s" -le 249856 ] || over=$((over + 1))
  [ "$e" -gt "$maxenc" ] && maxenc=$e
  [ "$q" = "$(echo "$l" | awk '{print $2}')" ] || wrong=$((wrong + 1))
done
report "logon fit: ours $(printf %.2f "$t_fit")s, ImageMagick jpeg:extent $(printf %.2f "$t_imfit")s of CPU for the set;" \
       "ratio $(ratio "$t_fit" "$t_imfit") (goal <= 0.4); most encodes $maxenc (goal <= 7); over the limit $over;" \
       "quality differing from the step-by-step loop $wrong (details in $W/fit.log)"

# --- 3. a 1920x1080 screenshot in every writer ---------------------------------------------------
step "A 1920x1080 screenshot (Xvfb desktop with a wallpaper and terminals) in every format"
if [ ! -f "$W/shot.bmp" ]; then
  Xvfb :97 -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 & xpids=($!)
  sleep 1
  export DISPLAY=:97
  display -window root -resize '1920x1080!' /usr/share/backgrounds/mate/nature/Garden.jpg & xpids+=($!)
  sleep 2
  xterm -geometry 120x45+40+40 -fa 'DejaVu Sans Mono' -fs 10 -e sh -c 'ls -l /usr/bin | head -80; sleep 30' & xpids+=($!)
  xterm -geometry 90x30+1000+200 -fa 'DejaVu Sans Mono' -fs 10 -bg white -fg black -e sh -c 'dpkg -l | head -60; sleep 30' & xpids+=($!)
  xclock -geometry 200x200+1650+60 -update 1 & xpids+=($!)
  xlogo -geometry 250x250+1600+750 & xpids+=($!)
  sleep 3
  import -window root "$W/shot.png"
  for ((k = ${#xpids[@]} - 1; k >= 0; k--)); do kill "${xpids[$k]}" 2>/dev/null || true; done
  for p in "${xpids[@]}"; do wait "$p" 2>/dev/null || true; done
  unset DISPLAY
  $IM "$W/shot.png" -type TrueColor bmp3:"$W/shot.bmp"
  $IM "$W/shot.png" "$W/shot.ppm"
  $IM "$W/shot.png" -compress lzw "$W/shot.tif"
fi
# Mean CPU time (user + system) of 10 runs of each command.
hf() { hyperfine -N -w 2 -r 10 --export-json "$W/hf.json" "$@" >/dev/null 2>&1; python3 -c "import json;print(' '.join(str(r['user'] + r['system']) for r in json.load(open('$W/hf.json'))['results']))"; }
read -r a b < <(hf "$IMG convert $W/shot.bmp $W/o.png" "$IM $W/shot.bmp $W/im.png")
"$IMG" convert "$W/shot.bmp" "$W/o.png"; $IM "$W/shot.bmp" "$W/im.png"
report "PNG: ours $(printf %.3f "$a")s $(stat -c %s "$W/o.png") bytes, ImageMagick $(printf %.3f "$b")s $(stat -c %s "$W/im.png") bytes;" \
       "time ratio $(ratio "$a" "$b") (goal <= 0.3), size ratio $(ratio "$(stat -c %s "$W/o.png")" "$(stat -c %s "$W/im.png")") (goal <= 1.07)"
for case_ in "bmp:" "jpg:--quality 95:-quality 95:cjpeg -quality 95 -sample 1x1 -optimize -outfile $W/lib.jpg $W/shot.ppm" \
            "tif::-compress lzw:tiffcp -c lzw:2 $W/shot.tif $W/lib.tif" "gif:" "pdf"; do
  IFS=: read -r ext ours theirs lib <<< "$case_"
  if [ "$ext" = pdf ]; then
    # Debian's ImageMagick policy forbids writing PDF: ours alone, checked with pdfinfo.
    read -r a < <(hf "$IMG convert $W/shot.bmp $W/o.pdf")
    "$IMG" convert "$W/shot.bmp" "$W/o.pdf"
    report "pdf : ours $(printf %.3f "$a")s $(stat -c %s "$W/o.pdf") bytes; pdfinfo: $(pdfinfo "$W/o.pdf" | grep 'Page size' | tr -s ' ')"
    continue
  fi
  if [ -n "$lib" ]; then
    read -r a b c < <(hf "$IMG convert $W/shot.bmp $W/o.$ext $ours" "$IM $W/shot.bmp $theirs $W/im.$ext" "$lib")
  else
    read -r a b < <(hf "$IMG convert $W/shot.bmp $W/o.$ext $ours" "$IM $W/shot.bmp $theirs $W/im.$ext"); c=""
  fi
  "$IMG" convert "$W/shot.bmp" "$W/o.$ext" $ours
  $IM "$W/shot.bmp" $theirs "$W/im.$ext" 2>/dev/null || true
  line="$(printf '%-4s' "$ext"): ours $(printf %.3f "$a")s $(stat -c %s "$W/o.$ext") bytes, ImageMagick $(printf %.3f "$b")s $(stat -c %s "$W/im.$ext" 2>/dev/null || echo '?') bytes, ratio $(ratio "$a" "$b")"
  [ -n "$c" ] && line="$line; ${lib%% *} $(printf %.3f "$c")s, ratio $(ratio "$a" "$c")"
  report "$line"
done

# --- 4. a 24-megapixel JPEG to BMP -------------------------------------------------------------
step "The largest photos decoded and written as BMP, against djpeg -bmp"
for f in /usr/share/backgrounds/Painting-Colors_by__herobrine7gamer.jpg /usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg \
         /usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg; do
  read -r a b < <(hf "$IMG convert $f $W/o.bmp" "djpeg -bmp -outfile $W/d.bmp $f")
  report "JPEG to BMP $(identify -format '%wx%h %[interlace]' "$f") $(basename "$f"): ours $(printf %.3f "$a")s, djpeg $(printf %.3f "$b")s, ratio $(ratio "$a" "$b") (goal <= 0.9)"
done

# --- 5. quality estimate ------------------------------------------------------------------------
step "Quality estimate on standard-table files (cjpeg, every quality, 8- and 16-bit tables) and the photos"
exact=0; total=0; imwrong=0
for q in $(seq 1 100); do
  for mode in -baseline ""; do
    cjpeg $mode -quality "$q" -outfile "$W/q.jpg" "$W/shot.ppm" 2>/dev/null
    total=$((total + 1))
    [ "$("$IMG" quality "$W/q.jpg")" = "$q" ] && exact=$((exact + 1))
    [ "$(identify -format %Q "$W/q.jpg")" = "$q" ] || imwrong=$((imwrong + 1))
  done
done
agree=0
for f in "${PHOTOS[@]}"; do [ "$("$IMG" quality "$f")" = "$(identify -format %Q "$f")" ] && agree=$((agree + 1)); done
report "quality estimate: exact on $exact of $total cjpeg files (identify %Q wrong on $imwrong of them: the 16-bit tables below quality 25);" \
       "equal to identify %Q on $agree of ${#PHOTOS[@]} photos"
step "Results in $RESULTS"
