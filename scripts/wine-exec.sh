#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest (the build's cross-compiling emulator).
# Rarely, right after the prefix is made, Wine fails to start a process at all: it exits at once
# with an error code and the program prints nothing. Such a start is tried once more; a program
# that ran and failed is reported as it is.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  wine "$@" >"$out" 2>&1
  rc=$?
  if [ "$rc" -eq 0 ] || [ -s "$out" ] || [ "$attempt" -eq 2 ]; then break; fi
  echo "wine-exec: Wine exited with code $rc before the program printed anything; starting it again" >&2
done
cat "$out"
exit "$rc"
