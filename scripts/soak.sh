#!/usr/bin/env bash
# A soak: Halyard against the simulated client, the messenger stand-ins and a webhook stand-in
# on loopback for N minutes of a moving market, with faults at times drawn from the seed; checks
# the journals, prints one table and exits non-zero on any fault.
#
#   scripts/soak.sh [--minutes N] [--seed S] [--width win64|win32] [--family list|grid]
#
# --family grid plays it against the client whose lists are drawn grids: its captcha is asked on
# the 4th copy of each client process and every 15th after, and the driver, as the investor, types
# the code some seconds later.
#
# Uses the builds under build/ (scripts/build.sh makes them); the run's files are kept under
# build/soak/. HALYARD_SOAK_FOLDER=DIR puts them there instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
minutes=5 seed=1 width=win64 family=list
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --width) width=$2; shift 2 ;;
    --family) family=$2; shift 2 ;;
    *) echo "usage: scripts/soak.sh [--minutes N] [--seed S] [--width win64|win32] [--family list|grid]" >&2; exit 2 ;;
  esac
done
case "$width" in win64 | win32) ;; *) echo "soak: --width is win64 or win32" >&2; exit 2 ;; esac
case "$family" in list | grid) ;; *) echo "soak: --family is list or grid" >&2; exit 2 ;; esac
[[ "$minutes" =~ ^[1-9][0-9]*$ && "$seed" =~ ^[0-9]+$ ]] || { echo "soak: minutes and seed are numbers" >&2; exit 2; }
# Halyard's clock starts at 9:20: the whole soak stays inside the morning's trading hours.
[ "$minutes" -le 130 ] || { echo "soak: at most 130 minutes (the morning session)" >&2; exit 2; }

# The program and the client under test are of the chosen width; the driver and the messenger
# stand-ins are the 64-bit build's.
bin=$top/build/$width
tools=$top/build/win64
for f in "$bin/src/app/Halyard.exe" "$bin/tools/simclient/simclient.exe" "$tools/tests/soak/soak_driver.exe" \
  "$tools/tools/simmessengers/simfetion.exe" "$tools/tools/simmessengers/simqq.exe"; do
  [ -f "$f" ] || { echo "soak: missing $f (run scripts/build.sh)" >&2; exit 2; }
done

suffix=$([ "$family" = grid ] && echo -grid || true)
run=${HALYARD_SOAK_FOLDER:-$top/build/soak/$(date +%Y%m%d-%H%M%S)-${minutes}min-seed$seed-$width$suffix}
mkdir -p "$run/program" "$run/client"
cp "$bin/src/app/Halyard.exe" "$run/program/"
# The client's configuration as detection would have learnt it, so the soak starts monitoring.
family_args=()
if [ "$family" = grid ]; then
  cp "$top/tests/soak/grid_broker_config.xml" "$run/program/broker_config.xml"
  family_args=(--client-options "--family grid --captcha-first 4 --captcha-every 15" --captcha-answer-ms 6000)
else
  cp "$top/tools/simclient/broker_config.xml" "$run/program/"
fi
[ -d "$bin/src/app/OrderSound" ] && cp -r "$bin/src/app/OrderSound" "$run/program/"
# Copies of the other programs too: a build during a long run leaves it alone.
mkdir -p "$run/bin"
cp "$bin/tools/simclient/simclient.exe" "$tools/tests/soak/soak_driver.exe" "$tools/tools/simmessengers/simfetion.exe" \
  "$tools/tools/simmessengers/simqq.exe" "$run/bin/"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# A prefix of the soak's own: its registry holds the soak's settings, not a test's.
export HALYARD_WINEPREFIX=${HALYARD_WINEPREFIX:-$top/build/wineprefix-soak}
halyard_top=$top
. "$top/scripts/wine-env.sh"
if [ "$width" = win32 ] && [ "$HALYARD_RUNS_32BIT" = 0 ]; then
  echo "soak: --width win32 needs 32-bit programs ($HALYARD_NO_32BIT_WHY)" >&2
  exit 2
fi
halyard_start_wine
echo "== soak: $minutes minutes, seed $seed, $width${suffix:+, grid family}; files in $run"
status=0
python3 "$top/tests/soak/soak.py" --minutes "$minutes" --seed "$seed" --folder "$run" \
  --family "$family" --label "$minutes (seed $seed, $width${suffix:+, grid})" -- \
  wine "$run/bin/soak_driver.exe" --folder "$(winpath "$run")" --client "$(winpath "$run/bin/simclient.exe")" \
  --fetion "$(winpath "$run/bin/simfetion.exe")" --qq "$(winpath "$run/bin/simqq.exe")" "${family_args[@]}" |
  tee "$run/table.txt" || status=$?
exit "$status"
