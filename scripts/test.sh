#!/usr/bin/env bash
# Sets up, builds everything and runs every test: native (sanitizers), then under Wine in a
# display and prefix of its own. Exits non-zero on any failure.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/setup.sh || exit 1

status=0
echo "== house rules: formatting"
bash scripts/check_format.sh || status=1
bash scripts/build.sh || exit 1
echo "== house rules: layers"
python3 scripts/check_layers.py --build build/native || status=1

echo "== native tests"
(cd build/native && ctest --output-on-failure -j 2) || status=1

halyard_top=$top
. scripts/wine-env.sh
halyard_start_wine || exit 1
echo "== win64 tests (Wine)"
(cd build/win64 && ctest --output-on-failure) || status=1
# The end-to-end scenarios capture the screen as BMP from inside Wine; keep PNG copies.
for shot in build/win64/e2e-screenshots/*.bmp; do
  [ -f "$shot" ] && convert "$shot" "${shot%.bmp}.png" 2>/dev/null && rm -f "$shot"
done
echo "end-to-end screenshots: build/win64/e2e-screenshots"
echo "== win32 tests (Wine)"
(cd build/win32 && ctest --output-on-failure -L 'core|win32') || status=1
bash scripts/soak.sh || status=1

echo "== release (zips, then the release test)"
if HALYARD_RELEASE_NO_BUILD=1 bash scripts/release.sh >build/release.log 2>&1; then
  bash tests/release/release_test.sh || status=1
else
  tail -n 30 build/release.log
  status=1
fi

echo "== fuzzing"
bash scripts/fuzz.sh || status=1
[ "$status" -eq 0 ] && echo "all tests passed" || echo "SOME TESTS FAILED"
exit "$status"
