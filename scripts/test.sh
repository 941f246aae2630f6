#!/usr/bin/env bash
# Builds everything and runs every test: the native suite, the same suite under ASan and
# UBSan, the imaging fuzz smoke run, and the Windows tests under Wine in a throwaway prefix.
# Ends every process it started and prints a pass/fail summary.
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/wine-env.sh"
cd "$ZEL_ROOT"
t0=$SECONDS

bash scripts/build.sh

logs="$ZEL_ROOT/build/test-logs"
mkdir -p "$logs"
declare -a names results
record() { names+=("$1"); results+=("$2"); }

run_ctest() { # name dir label log
  local name="$1" dir="$2" label="$3" log="$logs/$4.log" rc=0
  step "Tests: $name"
  ctest --test-dir "$dir" -L "$label" --output-on-failure -j"${5:-$(jobs)}" --timeout 300 >"$log" 2>&1 || rc=$?
  grep -E 'tests passed|tests failed' "$log" | sed 's/^/    /' || true
  if [ "$rc" -ne 0 ]; then
    # ctest also lists disabled tests (the benchmarks) among those that did not pass.
    grep -E '^\s+[0-9]+ - ' "$log" | grep -v '(Disabled)' | sed 's/^/    FAILED /' | head -40
    note "full log: $log"
    record "$name" FAIL
  else
    record "$name" pass
  fi
}

run_ctest "native unit tests" build/native native native

step "Building the native suite with AddressSanitizer and UBSan"
if [ ! -f build/native-san/build.ninja ]; then
  cmake -S . -B build/native-san -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_SANITIZE=ON \
    >"$logs/native-san-configure.log" 2>&1 || die "configuring the sanitizer build failed ($logs/native-san-configure.log)"
fi
if cmake --build build/native-san -j"$(jobs)" --target zel_native_tests >"$logs/native-san-build.log" 2>&1; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "native unit tests under ASan/UBSan" \
    build/native-san native native-san
else
  tail -20 "$logs/native-san-build.log"
  record "native unit tests under ASan/UBSan" "FAIL (build)"
fi

if [ -f scripts/test-imaging.sh ]; then
  step "Image engine: fuzz smoke run"
  if bash scripts/test-imaging.sh >"$logs/imaging-extra.log" 2>&1; then
    tail -n 5 "$logs/imaging-extra.log" | sed 's/^/    /'
    record "image engine fuzz smoke" pass
  else
    tail -n 30 "$logs/imaging-extra.log"
    record "image engine fuzz smoke" FAIL
  fi
fi

step "Windows tests under Wine"
trap 'wine_stop; cpu_awake_stop' EXIT
cpu_awake_start
wine_start
run_ctest "Windows tests under Wine (x64)" build/x64 windows wine 1   # one at a time: they share the registry
wine_stop
cpu_awake_stop
trap - EXIT

echo
step "Summary ($((SECONDS - t0)) s)"
failed=0
for i in "${!names[@]}"; do
  printf '    %-45s %s\n' "${names[$i]}" "${results[$i]}"
  [ "${results[$i]}" = pass ] || failed=1
done
if [ "$failed" -eq 0 ]; then
  printf '\033[1;32mALL TESTS PASSED\033[0m\n'
else
  printf '\033[1;31mSOME TESTS FAILED\033[0m (logs in %s)\n' "$logs"
  exit 1
fi
