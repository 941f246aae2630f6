#!/usr/bin/env bash
# Runs the Windows test program under Wine in a throwaway prefix, passing its arguments on,
# e.g.  scripts/wine-test.sh --gtest_filter='Frame.*'
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/wine-env.sh"
exe="$ZEL_ROOT/build/x64/tests/zel_win_tests.exe"
[ -f "$exe" ] || die "$exe is missing: run 'make build' first"
trap wine_stop EXIT
wine_start
wine "$exe" "$@"
