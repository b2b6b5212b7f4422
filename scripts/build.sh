#!/usr/bin/env bash
# Builds the three configurations: native (core and its tests, sanitizers on), win32, win64.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=${HALYARD_JOBS:-$(nproc)}

. scripts/wine-probe.sh
run_32bit=$([ "$HALYARD_RUNS_32BIT" = 1 ] && echo ON || echo OFF)

# Configured once, and again when the probe's answer differs from the one the build was made for.
configure() {
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] && grep -qx "HALYARD_RUN_32BIT:BOOL=$run_32bit" "$dir/CMakeCache.txt" && return 0
  cmake -S . -B "$dir" -G Ninja -DHALYARD_RUN_32BIT="$run_32bit" "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; exit 1; }
}
mkdir -p build
configure build/native
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DHALYARD_WIN32_BUILD="$top/build/win32"
for b in native win32 win64; do
  echo "build: $b"
  cmake --build "build/$b" -j "$jobs"
done
