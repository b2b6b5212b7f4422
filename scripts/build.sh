#!/usr/bin/env bash
# Builds the three configurations: native (core and its tests, sanitizers on), win32, win64.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=${HALYARD_JOBS:-$(nproc)}

configure() {
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 ||
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
