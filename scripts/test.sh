#!/usr/bin/env bash
# Sets up, builds everything and runs every test: native (sanitizers), then under Wine in a
# display and prefix of its own. Exits non-zero on any failure.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh || { echo "SOME TESTS FAILED (setup: see above)"; exit 1; }

status=0
echo "== house rules: formatting"
bash scripts/check_format.sh || status=1
bash scripts/build.sh || { echo "SOME TESTS FAILED (build: see above)"; exit 1; }
echo "== house rules: layers"
python3 scripts/check_layers.py --build build/native || status=1

echo "== native tests"
(cd build/native && ctest --output-on-failure -j 2) || status=1

halyard_top=$top
. scripts/wine-env.sh
halyard_start_wine || { echo "SOME TESTS FAILED (Wine could not be started)"; exit 1; }
# What was left out, one line each, repeated at the end.
skipped=()
# Tests the build disabled because this machine cannot run 32-bit programs.
note_disabled() { # note_disabled WIDTH LOG
  local names
  names=$(sed -n 's/^[[:space:]]*[0-9]* - \([A-Za-z0-9_]*\) (Disabled)$/\1/p' "$2")
  [ -n "$names" ] || return 0
  skipped+=("$1: $(printf '%s\n' "$names" | wc -l) suites skipped ($HALYARD_NO_32BIT_WHY): $(echo $names)")
}
echo "== win64 tests (Wine)"
(cd build/win64 && ctest --output-on-failure) 2>&1 | tee build/win64-tests.log
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
note_disabled win64 build/win64-tests.log
# The end-to-end scenarios capture the screen as BMP from inside Wine; keep PNG copies.
for shot in build/win64/e2e-screenshots/*.bmp; do
  [ -f "$shot" ] && convert "$shot" "${shot%.bmp}.png" 2>/dev/null && rm -f "$shot"
done
echo "end-to-end screenshots: build/win64/e2e-screenshots"
echo "== win32 tests (Wine)"
if [ "$HALYARD_RUNS_32BIT" = 1 ]; then
  (cd build/win32 && ctest --output-on-failure -L 'core|win32') || status=1
else
  # The build disabled every one of them; ctest would only list them as not run.
  count=$(cd build/win32 && ctest -N -L 'core|win32' | sed -n 's/^Total Tests: //p')
  skipped+=("win32: ${count:-all} suites skipped ($HALYARD_NO_32BIT_WHY); the win32 build and its zip are still made")
  echo "${skipped[-1]}"
fi

echo "== soak (the default minutes and seed)"
bash scripts/soak.sh || status=1

echo "== release (zips, then the release test)"
if HALYARD_RELEASE_NO_BUILD=1 bash scripts/release.sh >build/release.log 2>&1; then
  bash tests/release/release_test.sh || status=1
  [ "$HALYARD_RUNS_32BIT" = 1 ] || skipped+=("release: the win32 zip's try-out under Wine skipped ($HALYARD_NO_32BIT_WHY)")
else
  echo "release FAILED; its output (build/release.log):"
  tail -n 60 build/release.log
  status=1
fi

echo "== fuzzing"
bash scripts/fuzz.sh || status=1
for line in "${skipped[@]}"; do echo "skipped: $line"; done
[ "$status" -eq 0 ] && echo "all tests passed" || echo "SOME TESTS FAILED"
exit "$status"
