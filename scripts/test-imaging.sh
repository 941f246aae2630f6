#!/usr/bin/env bash
# Image-engine checks beyond ctest: builds the libFuzzer targets (clang) in build/fuzz and runs
# each for a few seconds on a corpus seeded from tests/data/imaging. Any crash, sanitizer report,
# leak or timeout fails the run; the input that caused it is kept in build/fuzz/findings/.
#   usage: scripts/test-imaging.sh [seconds per target, default 3]
source "$(dirname "$0")/common.sh"

secs="${1:-3}"
build="$ZEL_ROOT/build/fuzz"
command -v clang++ >/dev/null || die "clang is missing (run scripts/setup.sh)"

step "Fuzz targets: building with clang in $build"
CC=clang CXX=clang++ cmake -S "$ZEL_ROOT/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.log" 2>&1 \
  || { cat "$build.log"; die "configuring the fuzz targets failed"; }
cmake --build "$build" -j"$(jobs)" >>"$build.log" 2>&1 || { tail -40 "$build.log"; die "building the fuzz targets failed"; }

# Seeds: the committed fixtures, by the reader that takes them.
seeds() { # target -> extensions
  case "$1" in
    bmp) echo bmp;; ico) echo ico;; gif) echo gif;; jpeg|jpeg_quality|cameraraw) echo jpg;;
    png) echo png;; tiff) echo tif;; tga) echo tga;; pcx) echo pcx;; dcx) echo dcx;; psd) echo psd;;
    wbmp) echo wbmp;; pnm) echo "ppm pgm pbm pxm";; jp2) echo "jp2 j2k";;
  esac
}
mkdir -p "$build/findings"
targets=(bmp ico gif jpeg png tiff tga pcx dcx psd wbmp pnm jp2 cameraraw jpeg_quality)
failed=()
run_one() {
  local t="$1" corpus="$build/corpus/$1"
  mkdir -p "$corpus"
  for e in $(seeds "$t"); do cp -n "$ZEL_ROOT"/tests/data/imaging/*."$e" "$corpus/" 2>/dev/null || true; done
  "$build/fuzz_$t" "$corpus" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$t-" >"$build/fuzz_$t.log" 2>&1
}
step "Fuzz smoke run: ${#targets[@]} targets, ${secs} s each, two at a time"
i=0
while [ $i -lt ${#targets[@]} ]; do
  pids=()
  for t in "${targets[@]:$i:2}"; do run_one "$t" & pids+=("$!:$t"); done
  for p in "${pids[@]}"; do
    if wait "${p%%:*}"; then
      runs=$(grep -m1 'stat::number_of_executed_units' "$build/fuzz_${p#*:}.log" | awk '{print $2}')
      note "fuzz_${p#*:}: clean (${runs:-?} runs)"
    else
      failed+=("${p#*:}")
      note "fuzz_${p#*:}: FAILED"; tail -30 "$build/fuzz_${p#*:}.log"
    fi
  done
  i=$((i + 2))
done
[ ${#failed[@]} -eq 0 ] || die "fuzz findings in: ${failed[*]} (inputs in $build/findings)"
step "Fuzz smoke run: all ${#targets[@]} targets clean"
echo "${#targets[@]} passed, 0 failed"
