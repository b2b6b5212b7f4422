#!/usr/bin/env bash
# The release test: the zips in dist/ as a Windows user gets them. Checks the checksums, unzips
# each zip into a folder whose path holds blanks and Chinese, checks what the folder holds, the
# import tables of every executable, the help document in a real word processor (LibreOffice),
# then runs the Windows half (release_folder_tests.exe) under Wine in each unzipped folder.
# Expects scripts/release.sh to have run; prints "N passed, N failed".
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
passed=0
failed=0
skipped=0
. scripts/wine-probe.sh
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "release test FAILED: $what"
  fi
}

version=$(sed -n 's/^#define HALYARD_VERSION_TEXT "\(.*\)"$/\1/p' build/win64/src/res/generated/halyard_version.h)
dist=$top/dist
check "SHA256SUMS verifies both zips" bash -c "cd '$dist' && sha256sum -c SHA256SUMS && grep -c zip SHA256SUMS | grep -qx 2"

# Only what every Windows from 7 on has; a DLL of the tool chain (libstdc++, libgcc, winpthread)
# would stop the program on a bare Windows.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|advapi32|winmm|ole32|oleaut32|winhttp|msvcrt|uxtheme|version|ws2_32|crypt32|bcrypt|ntdll)\.dll$'
imports_only_system() {
  local dlls
  dlls=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || return 1
  ! printf '%s\n' "$dlls" | grep -Evq "$system_dlls"
}
crlf_with_bom() {
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ] && ! grep -q $'[^\r]$' "$1" && ! grep -q '^$' "$1"
}

work="$top/build/release-test"
rm -rf "$work"
mkdir -p "$work"
for arch in win64 win32; do
  zip=$dist/Halyard-$version-$arch.zip
  target="$work/下载 的 $arch 版"
  check "$arch: zip named after the version" test -f "$zip"
  mkdir -p "$target"
  check "$arch: unzips" unzip -q "$zip" -d "$target"
  check "$arch: names in GBK for Chinese Windows and in UTF-8 for every archiver" python3 -c '
import struct, sys, zipfile
for info in zipfile.ZipFile(sys.argv[1]).infolist():
    assert not info.flag_bits & 0x800, info.filename
    name = info.filename.encode("cp437").decode("gbk")
    if name.isascii():
        continue
    assert info.extra[:2] == struct.pack("<H", 0x7075), name
    assert info.extra[9:].decode("utf-8") == name, name
' "$zip"
  check "$arch: one folder Halyard at the top" test "$(unzip -Z1 "$zip" | cut -d/ -f1 | sort -u)" = Halyard
  h=$target/Halyard
  for f in Halyard.exe HalyardProbe.exe Halyard帮助.doc 说明.txt OrderSound/StopLoss.wav OrderSound/MoveStopLoss.wav \
    OrderSound/TakeProfit.wav 练习/simclient.exe 练习/broker_config.xml 练习/portfolio.txt 练习/启动练习.bat 练习/启动练习-网上交易.bat; do
    check "$arch: holds $f" test -s "$h/$f"
  done
  check "$arch: no rules or broker configuration beside Halyard.exe" \
    bash -c "! ls '$h' | grep -qiE '^(stock_config|broker_config)\.xml$'"
  check "$arch: 说明.txt is UTF-8 with BOM and CR LF" crlf_with_bom "$h/说明.txt"
  check "$arch: 说明.txt names the version" grep -q "$version" "$h/说明.txt"
  for exe in "$h/Halyard.exe" "$h/HalyardProbe.exe" "$h/练习/simclient.exe"; do
    check "$arch: $(basename "$exe") imports only system DLLs" imports_only_system "$exe"
  done
  # The manifest as Windows reads it from the executable: common controls 6, Windows 7 to 11,
  # asInvoker, and no DPI awareness (the clients Halyard clicks into are not DPI-aware).
  for exe in "$h/Halyard.exe" "$h/HalyardProbe.exe"; do
    manifest=$work/$arch-$(basename "$exe").manifest
    grep -ao '<assembly.*</assembly>' <(tr -d '\r\n' <"$exe") >"$manifest"
    for part in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' 'level="asInvoker"' \
      35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
      1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
      check "$arch: $(basename "$exe") manifest holds $part" grep -qF "$part" "$manifest"
    done
    check "$arch: $(basename "$exe") is not DPI-aware" bash -c "! grep -qiE 'dpiAware|dpiAwareness' '$manifest'"
  done
  format=$([ "$arch" = win64 ] && echo pei-x86-64 || echo pei-i386)
  for exe in "$h/Halyard.exe" "$h/HalyardProbe.exe" "$h/练习/simclient.exe"; do
    check "$arch: $(basename "$exe") is $format" \
      bash -c "x86_64-w64-mingw32-objdump -f '$exe' | grep -q 'file format $format\$'"
  done
done

# The help document in LibreOffice: its headings as text, and every picture it embeds.
help_dir=$work/help
mkdir -p "$help_dir"
cp "$work/下载 的 win64 版/Halyard/Halyard帮助.doc" "$help_dir/"
soffice_run() { HOME=$help_dir timeout 120 soffice --headless --norestore --convert-to "$1" --outdir "$help_dir" \
  "$help_dir/Halyard帮助.doc" >>"$help_dir/soffice.log" 2>&1; }
check "help: LibreOffice converts it to text" soffice_run txt:Text
for heading in "1 Halyard 做什么, 不做什么" "2 安装" "网购模式" "3 连接券商软件" "3.3 认不出券商软件时" "4 设置规则" \
  "4.2 跟踪止损举例" "4.3 价格单位" "4.4 追单" "5 提醒" "群机器人" "6 练习" "7 记录和文件" "8 交易时间" "9 常见问题"; do
  check "help: text holds \"$heading\"" grep -qF "$heading" "$help_dir/Halyard帮助.txt"
done
check "help: LibreOffice converts it to ODT" soffice_run odt
embedded=$(grep -o 'pngblip' "$help_dir/Halyard帮助.doc" | wc -l)
read_back=$(unzip -Z1 "$help_dir/Halyard帮助.odt" 2>/dev/null | grep -c '^Pictures/')
check "help: at least the main window and the rule editor are pictured ($embedded)" test "$embedded" -ge 2
check "help: LibreOffice reads all $embedded pictures ($read_back)" test "$read_back" -eq "$embedded"

# The Windows half, in each unzipped folder in turn.
tester=$top/build/win64/tests/release/release_folder_tests.exe
check "Windows half built" test -f "$tester"
if [ -f "$tester" ]; then
  halyard_top=$top
  . scripts/wine-env.sh
  halyard_start_wine
  for arch in win64 win32; do
    if [ "$arch" = win32 ] && [ "$HALYARD_RUNS_32BIT" = 0 ]; then
      skipped=$((skipped + 1))
      echo "release test skipped: win32 under Wine ($HALYARD_NO_32BIT_WHY)"
      continue
    fi
    folder=$(wine winepath -w "$work/下载 的 $arch 版/Halyard/" 2>/dev/null | tr -d '\r')
    log=$work/windows-$arch.log
    if HALYARD_RELEASE_FOLDER=$folder HALYARD_RELEASE_VERSION=$version WINEDEBUG=-all \
      wine "$tester" </dev/null >"$log" 2>&1; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "release test FAILED: $arch under Wine (see $log)"
      grep -E 'FAILED|Failure|error|Expected|Which is|Value of' "$log" | head -30
    fi
  done
fi
echo "release: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
