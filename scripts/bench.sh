#!/usr/bin/env bash
# Sets up and builds everything, then runs every benchmark under bench/ and prints its figures
# (one line per measurement). Windows benchmarks run under Wine in a display and prefix of their own.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
mkdir -p build
bash scripts/setup.sh >build/bench-setup.log 2>&1 || { cat build/bench-setup.log; exit 1; }
bash scripts/build.sh >build/bench-build.log 2>&1 || { tail -n 40 build/bench-build.log; exit 1; }

status=0
out=build/bench-out
mkdir -p "$out"
while IFS= read -r exe; do
  "$exe" >"$out/$(basename "$exe").txt" 2>&1 || status=1
  cat "$out/$(basename "$exe").txt"
done < <(find build/native/bench -type f -name '*_bench' -perm -u+x 2>/dev/null | sort)

halyard_top=$top
. scripts/wine-env.sh
halyard_start_wine || exit 1
while IFS= read -r exe; do
  name=$(basename "$exe" .exe)
  (cd "$(dirname "$exe")" && wine "$(basename "$exe")" </dev/null >"$top/$out/$name.txt" 2>"$top/$out/$name.err") ||
    { status=1; echo "$name: failed (see $out/$name.err)"; }
  cat "$out/$name.txt"
done < <(find build/win64/bench -type f -name '*_bench.exe' 2>/dev/null | sort)
exit "$status"
