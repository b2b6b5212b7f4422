#!/usr/bin/env bash
# Builds and writes the release: dist/Halyard-<version>-win64.zip and -win32.zip, each holding
# one folder Halyard/ that a user unzips anywhere and runs, and dist/SHA256SUMS. The version is
# the project version of the top CMakeLists.txt.
#
# HALYARD_RELEASE_NO_BUILD=1 packs what is built already (the test command has just built it).
set -Eeuo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# A failed step names itself; what it printed stands above this line.
trap 'echo "release: FAILED at line $LINENO: $BASH_COMMAND (exit $?)" >&2' ERR

if [ -z "${HALYARD_RELEASE_NO_BUILD:-}" ]; then
  bash scripts/setup.sh >/dev/null
  bash scripts/build.sh
fi

# The help document embeds the end-to-end screenshots: take them when none exist yet.
shots=build/win64/e2e-screenshots
if ! ls "$shots"/*.png >/dev/null 2>&1; then
  echo "release: taking the screenshots for the help document (end-to-end scenarios)"
  (
    halyard_top=$top
    . scripts/wine-env.sh
    halyard_start_wine
    # A failed scenario still leaves the pictures it took; say which failed.
    (cd build/win64 && ctest -R 'e2e_' >"$top/build/release-screenshots.log" 2>&1) ||
      { echo "release: some end-to-end scenarios failed (build/release-screenshots.log):"
        grep -E 'Failed|\*\*\*' "$top/build/release-screenshots.log" | head -n 20; }
  )
  for shot in "$shots"/*.bmp; do
    [ -f "$shot" ] && /usr/bin/convert "$shot" "${shot%.bmp}.png" 2>/dev/null && rm -f "$shot"
  done
fi
cmake --build build/win64 --target halyard_help

version=$(sed -n 's/^#define HALYARD_VERSION_TEXT "\(.*\)"$/\1/p' build/win64/src/res/generated/halyard_version.h)
[ -n "$version" ] || { echo "release: no version in the build" >&2; exit 1; }
help_doc="build/win64/help/Halyard帮助.doc"
[ -f "$help_doc" ] || { echo "release: $help_doc missing" >&2; exit 1; }

dist=$top/dist
stage=$top/build/release-stage
rm -rf "$stage"
mkdir -p "$dist"

# 说明.txt: UTF-8 with a byte order mark and Windows line ends, so Notepad on Windows 7 reads it.
readme_txt() {
  printf '\xef\xbb\xbf'
  sed -e "s/@VERSION@/$version/" -e 's/$/\r/' packaging/说明.txt
}

pack() {
  local arch=$1 bin=build/$1 strip=$2
  local folder=$stage/$arch/Halyard
  mkdir -p "$folder/OrderSound" "$folder/练习"
  "$strip" -o "$folder/Halyard.exe" "$bin/src/app/Halyard.exe"
  "$strip" -o "$folder/HalyardProbe.exe" "$bin/tools/probe/HalyardProbe.exe"
  cp "$bin"/src/app/OrderSound/*.wav "$folder/OrderSound/"
  cp "$help_doc" "$folder/Halyard帮助.doc"
  readme_txt >"$folder/说明.txt"
  "$strip" -o "$folder/练习/simclient.exe" "$bin/tools/simclient/simclient.exe"
  cp tools/simclient/broker_config.xml packaging/practice/portfolio.txt packaging/practice/启动练习.bat packaging/practice/启动练习-网上交易.bat \
    "$folder/练习/"
  local zip=$dist/Halyard-$version-$arch.zip
  rm -f "$zip"
  python3 scripts/zip_folder.py "$stage/$arch" Halyard "$zip"
  echo "release: $zip ($(du -k "$zip" | cut -f1) KiB)"
}

pack win64 x86_64-w64-mingw32-strip
pack win32 i686-w64-mingw32-strip
(cd "$dist" && sha256sum "Halyard-$version-win64.zip" "Halyard-$version-win32.zip" >SHA256SUMS)
echo "release: $dist/SHA256SUMS"
