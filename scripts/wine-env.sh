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

halyard_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.halyard-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i </dev/null >"$halyard_log/wineboot.log" 2>&1 || true
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
    wine regedit /S "$reg" </dev/null >>"$halyard_log/wineboot.log" 2>&1 || true
    local marlett
    marlett=$(find /usr/share/fonts /usr/share/wine -iname 'marlett.ttf' 2>/dev/null | head -n 1)
    if [ -n "$marlett" ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    wineserver -w
    touch "$WINEPREFIX/.halyard-ready"
  fi
}

halyard_start_wine() {
  trap halyard_stop_wine EXIT
  halyard_start_display
  halyard_prepare_prefix
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot </dev/null >/dev/null 2>&1 || true
}
