#!/usr/bin/env bash
# Builds the file-reader fuzz targets with clang's libFuzzer and runs each for a bounded time.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${HALYARD_FUZZ_SECONDS:-25}
dir=build/fuzz
[ -f "$dir/build.ninja" ] || CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DHALYARD_FUZZ=ON \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
targets=()
for t in rule_file_fuzz broker_config_fuzz; do
  [ -f "tests/fuzz/$t.cpp" ] && targets+=("$t")
done
[ "${#targets[@]}" -gt 0 ] || { echo "fuzz: no targets"; exit 0; }
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}" >"$dir.build.log" 2>&1 || { tail -40 "$dir.build.log"; exit 1; }
status=0
for t in "${targets[@]}"; do
  seeds="tests/fuzz/seeds/${t%_fuzz}"
  corpus=$(mktemp -d)
  if "$dir/tests/fuzz/$t" -max_total_time="$seconds" -max_len=8192 -print_final_stats=0 "$corpus" "$seeds" \
      >"$dir/$t.log" 2>&1; then
    echo "fuzz $t: $(grep -o 'Done [0-9]* runs' "$dir/$t.log" | tail -n 1), no crash"
  else
    echo "fuzz $t: FAILED"; tail -30 "$dir/$t.log"; status=1
  fi
  rm -rf "$corpus"
done
exit "$status"
