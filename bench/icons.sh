#!/usr/bin/env bash
# The icon customizer's measurements under Wine: the start-up cost of the shell-icon and drive
# grids, and the file-type load with 5,000 extensions created in a throwaway Wine prefix.
#   usage: bench/icons.sh [build-dir]     (default build/x64; builds zel_win_tests there first)
# Environment: DISPLAY (an X display; a virtual one is started when unset), WINEPREFIX (default:
# a fresh prefix under /tmp that is removed afterwards).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build/x64}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$BUILD/build.ninja" ]; then
  DEPS=$(bash "$ROOT/scripts/deps.sh" x86_64 | tail -1)
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw-x86_64.cmake" -DZEL_DEPS_PREFIX="$DEPS" >/dev/null 2>&1
fi
LOG=$(mktemp)
if ! cmake --build "$BUILD" -j2 --target zel_win_tests >"$LOG" 2>&1; then
  cat "$LOG"
  exit 1
fi
rm -f "$LOG"

source "$ROOT/scripts/common.sh"
source "$ROOT/scripts/wine-env.sh"
trap 'wine_stop; cpu_awake_stop' EXIT
cpu_awake_start   # measured with the spare core awake (see scripts/common.sh)
wine_start "${WINEPREFIX:-}" >/dev/null

wine "$BUILD/tests/zel_win_tests.exe" --gtest_also_run_disabled_tests \
  --gtest_filter='IconsBench.DISABLED_*' 2>&1 | grep '^BENCH' | sed 's/^BENCH //'
