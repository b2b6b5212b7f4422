# Sourced by the test, demo and bench scripts: a private Wine prefix under build/, a virtual
# display of its own, and a persistent wineserver; all stopped again when the script exits.
# Every Wine program's output goes to files: a wineserver holding a pipe open can hang CI.

halyard_top=${halyard_top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="${HALYARD_WINEPREFIX:-$halyard_top/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
halyard_log="$halyard_top/build/wine-logs"
mkdir -p "$halyard_log"
. "$halyard_top/scripts/wine-probe.sh"

# Without 32-bit programs, Debian's wine wrapper still picks the 32-bit loader once wine32 is
# installed. Every Wine program then starts through the 64-bit loader instead: wine and
# wine-stable (which wineboot and the other tools call) are put first on the PATH, so the test
# emulator, regedit and the scripts' own calls all take it.
if [ "$HALYARD_RUNS_32BIT" = 0 ]; then
  halyard_wine64_bin="$halyard_top/build/wine64-only"
  mkdir -p "$halyard_wine64_bin"
  for halyard_name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$halyard_wine64_bin/$halyard_name"
    chmod +x "$halyard_wine64_bin/$halyard_name"
  done
  case ":$PATH:" in *":$halyard_wine64_bin:"*) ;; *) export PATH="$halyard_wine64_bin:$PATH" ;; esac
  export WINELOADER=/usr/lib/wine/wine64
fi

halyard_stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${halyard_xvfb_pid:-}" ]; then
    kill "$halyard_xvfb_pid" >/dev/null 2>&1 || true
    wait "$halyard_xvfb_pid" 2>/dev/null || true
  fi
}

halyard_start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp </dev/null >"$halyard_log/xvfb.log" 2>&1 &
    halyard_xvfb_pid=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$halyard_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "wine-env: no free X display" >&2
  return 1
}

# What a ready prefix holds: the Chinese font mapping and the window settings in its registry.
halyard_prefix_missing() {
  local user_reg="$WINEPREFIX/user.reg"
  [ -f "$WINEPREFIX/system.reg" ] || { echo "no system registry (wineboot failed)"; return 0; }
  grep -q 'WenQuanYi Micro Hei' "$user_reg" 2>/dev/null || { echo "no Chinese font mapping in the registry"; return 0; }
  grep -q '"Managed"="N"' "$user_reg" 2>/dev/null || { echo "no window settings in the registry"; return 0; }
  return 1
}

halyard_prepare_prefix() {
  # A prefix made for the other kind of machine (with or without 32-bit programs) is made anew.
  local mode="runs-32bit=$HALYARD_RUNS_32BIT"
  [ "$(cat "$WINEPREFIX/.halyard-ready" 2>/dev/null)" = "$mode" ] && return 0
  rm -rf "$WINEPREFIX"
  wineboot -i </dev/null >"$halyard_log/wineboot.log" 2>&1 ||
    echo "wineboot exited with $?" >>"$halyard_log/wineboot.log"
  wineserver -w
  local reg="$halyard_log/prefix.reg"
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
"SimHei"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"
"Tahoma"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"
REG
  wine regedit /S "$reg" </dev/null >>"$halyard_log/wineboot.log" 2>&1 ||
    echo "regedit exited with $?" >>"$halyard_log/wineboot.log"
  local marlett
  marlett=$(find /usr/share/fonts /usr/share/wine -iname 'marlett.ttf' 2>/dev/null | head -n 1)
  if [ -n "$marlett" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  # The registry reaches the prefix's files when the server ends.
  wineserver -w
  local missing
  if missing=$(halyard_prefix_missing); then
    echo "wine-env: the Wine prefix $WINEPREFIX could not be prepared: $missing" >&2
    echo "wine-env: last lines of $halyard_log/wineboot.log:" >&2
    tail -n 15 "$halyard_log/wineboot.log" >&2
    return 1
  fi
  echo "$mode" >"$WINEPREFIX/.halyard-ready"
}

halyard_start_wine() {
  trap halyard_stop_wine EXIT
  halyard_start_display || return 1
  halyard_prepare_prefix || return 1
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot </dev/null >/dev/null 2>&1 || true
  [ "$HALYARD_RUNS_32BIT" = 1 ] || echo "wine-env: 64-bit programs only ($HALYARD_NO_32BIT_WHY)"
}
