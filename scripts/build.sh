#!/usr/bin/env bash
# Installs what is missing and builds everything: the image libraries for both Windows
# targets, the native build (portable code, tests, tools) and Zelvane.exe for x64 and x86.
# Leaves ready portable folders in out/x64 and out/x86 and the native tools in out/native.
#   build.sh [native] [x64] [x86]      what to build (default: all three)
source "$(dirname "$0")/common.sh"
cd "$ZEL_ROOT"
targets=" ${*:-native x64 x86} "
wants() { [[ $targets == *" $1 "* ]]; }

bash scripts/setup.sh
[ -f scripts/setup-imaging.sh ] && bash scripts/setup-imaging.sh

step "Image libraries for Windows"
wants x64 && { deps_x64=$(bash scripts/deps.sh x86_64 | tail -n 1) || exit 1; }
wants x86 && { deps_x86=$(bash scripts/deps.sh i686 | tail -n 1) || exit 1; }

configure() { # dir [args...]
  local dir="$1"; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1 \
      || { cat "$dir.configure.log"; die "configuring $dir failed"; }
  fi
}
compile() { # dir what
  step "Building $2"
  local log="$1.build.log" line re='^\[([0-9]+)/([0-9]+)\]'
  # Ninja's [n/m] lines become a short progress report; the whole output goes to the log.
  set +o pipefail
  cmake --build "$1" -j"$(jobs)" 2>&1 | tee "$log" | while IFS= read -r line; do
    if [[ $line =~ $re ]]; then
      (( BASH_REMATCH[1] % 40 == 0 || BASH_REMATCH[1] == BASH_REMATCH[2] )) && note "${BASH_REMATCH[1]}/${BASH_REMATCH[2]} steps"
    elif [[ $line == *error:* || $line == FAILED:* ]]; then
      note "$line"
    fi
  done
  local rc=${PIPESTATUS[0]}
  set -o pipefail
  [ "$rc" -eq 0 ] || { tail -n 40 "$log"; die "building $2 failed (full log: $log)"; }
}

mkdir -p build out
if wants native; then
  configure build/native -DZEL_OUT_DIR="$ZEL_ROOT/out/native"
  compile build/native "the native code and tests"
fi

if wants x64; then
configure build/x64 -DCMAKE_TOOLCHAIN_FILE="$ZEL_ROOT/cmake/toolchain-mingw-x86_64.cmake" \
  -DZEL_DEPS_PREFIX="$deps_x64" -DZEL_OUT_DIR="$ZEL_ROOT/out/x64"
cmake -S . -B build/x64 -DZEL_DEPS_PREFIX="$deps_x64" -DCMAKE_CROSSCOMPILING_EMULATOR="$ZEL_ROOT/scripts/wine-exec.sh" >/dev/null
compile build/x64 "Zelvane.exe and its tests for x64"
fi

if wants x86; then
configure build/x86 -DCMAKE_TOOLCHAIN_FILE="$ZEL_ROOT/cmake/toolchain-mingw-i686.cmake" \
  -DZEL_DEPS_PREFIX="$deps_x86" -DZEL_OUT_DIR="$ZEL_ROOT/out/x86"
cmake -S . -B build/x86 -DZEL_DEPS_PREFIX="$deps_x86" >/dev/null
compile build/x86 "Zelvane.exe for x86"
fi

for arch in x64 x86; do
  wants $arch && note "portable folder out/$arch: Zelvane.exe $(du -h out/$arch/Zelvane.exe | cut -f1) with $(ls out/$arch | grep -v Zelvane.exe | tr '\n' ' ')"
done
true
