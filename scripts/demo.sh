#!/usr/bin/env bash
# The main job, shown end to end: the simulated broker client with a demo portfolio and Halyard
# with demo rules run under Wine with the local time inside trading hours; one stock falls
# through its stop loss and Halyard sells it. Prints the client's journal of that sale, saves
# screenshots, and stops everything it started.
#
# HALYARD_DEMO_BUILD=DIR uses an already built win64 folder instead of running the set-up and
# the build first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

if [ -z "${HALYARD_DEMO_BUILD:-}" ]; then
  echo "demo: set-up and build (quick when everything is in place)"
  mkdir -p build
  bash scripts/setup.sh >build/demo-setup.log 2>&1 || { cat build/demo-setup.log; exit 1; }
  bash scripts/build.sh >build/demo-build.log 2>&1 || { tail -n 40 build/demo-build.log; exit 1; }
fi
bin=${HALYARD_DEMO_BUILD:-$top/build/win64}
halyard_exe=$bin/src/app/Halyard.exe
client_exe=$bin/tools/simclient/simclient.exe
for f in "$halyard_exe" "$client_exe" "$top/tools/simclient/broker_config.xml"; do
  [ -f "$f" ] || { echo "demo: missing $f" >&2; exit 1; }
done

run=$top/build/demo/$(date +%Y%m%d-%H%M%S)
program=$run/program
client=$run/client
shots=$run/screenshots
mkdir -p "$program" "$client" "$shots"
cp "$halyard_exe" "$program/"
[ -d "$bin/src/app/OrderSound" ] && cp -r "$bin/src/app/OrderSound" "$program/"
cp "$top/tools/simclient/broker_config.xml" "$program/"
cp "$client_exe" "$client/"

# The portfolio: 600000 bought at 8.50, now 8.88; the other two stay quiet.
cat >"$client/portfolio.txt" <<'SCENARIO'
# demo portfolio
position 600000 浦发银行 10000 10000 8.50 8.88
close 600000 8.80
position 000001 平安银行 5000 5000 11.20 11.30
close 000001 11.25
position 600519 贵州茅台 100 100 1650.00 1688.00
close 600519 1700.00
cash 500000
SCENARIO

# The rules: 600000 sells on a 5 % loss, two price units below the latest price; 000001 takes
# profit at 10 %; 600519 has a trailing stop armed above 5 % that fires on a 2 % fall.
{
  printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<Config>\r\n'
  printf '    <Stock Code="600000" StopLoss="5.000000" Profit="10.000000" MoveStopLoss="2.000000" MoveStopLossTriggerPrice="5.000000" ApplyMoveStopLoss="0" High="0.000000" HasTrigerMoveStopPrice="0" MessageOnly="0" StopLossType="0" TakeProfitType="0" SlipPrice="2"/>\r\n'
  printf '    <Stock Code="000001" StopLoss="8.000000" Profit="10.000000" MoveStopLoss="2.000000" MoveStopLossTriggerPrice="5.000000" ApplyMoveStopLoss="0" High="0.000000" HasTrigerMoveStopPrice="0" MessageOnly="0" StopLossType="0" TakeProfitType="0" SlipPrice="0"/>\r\n'
  printf '    <Stock Code="600519" StopLoss="10.000000" Profit="20.000000" MoveStopLoss="2.000000" MoveStopLossTriggerPrice="5.000000" ApplyMoveStopLoss="1" High="0.000000" HasTrigerMoveStopPrice="0" MessageOnly="0" StopLossType="0" TakeProfitType="0" SlipPrice="0"/>\r\n'
  printf '</Config>\r\n'
} >"$program/Stock_Config.xml"

# Local time 10:00 whatever the clock says: TZ=HAL-hh:mm is hh:mm east of UTC.
utc_minutes=$((10#$(date -u +%H) * 60 + 10#$(date -u +%M)))
offset=$(((600 - utc_minutes + 1440) % 1440))
[ "$offset" -gt 720 ] && offset=$((offset - 1440))
if [ "$offset" -ge 0 ]; then sign=-; else sign=+; offset=$((-offset)); fi
demo_tz=$(printf 'HAL%s%02d:%02d' "$sign" $((offset / 60)) $((offset % 60)))

export HALYARD_WINEPREFIX=${HALYARD_WINEPREFIX:-$top/build/wineprefix-demo}
halyard_top=$top
. "$top/scripts/wine-env.sh"
halyard_start_wine
echo "demo: Wine display $DISPLAY, prefix $WINEPREFIX, local time $(TZ=$demo_tz date +%H:%M) ($demo_tz)"

# Monitor every 3 s; the settings live in the prefix's registry.
key='HKCU\Software\应用程序向导生成的本地应用程序\Halyard\Monitor'
wine reg add "$key" /v Timer /t REG_DWORD /d 3 /f >"$run/reg.log" 2>&1 || true
wine reg add "$key" /v NeverFoundValidBroke /t REG_DWORD /d 0 /f >>"$run/reg.log" 2>&1 || true

journal=$client/journal.jsonl
(cd "$client" && exec wine simclient.exe --scenario portfolio.txt --journal journal.jsonl \
  </dev/null >"$client/simclient.out" 2>&1) &
client_pid=$!
for _ in $(seq 1 100); do
  grep -q '"event":"started"' "$journal" 2>/dev/null && break
  kill -0 "$client_pid" 2>/dev/null || break
  sleep 0.2
done
if ! grep -q '"event":"started"' "$journal" 2>/dev/null; then
  if kill -0 "$client_pid" 2>/dev/null; then
    echo "demo: the simulated client did not start: no \"started\" in its journal after 20 s" >&2
  else
    code=0
    wait "$client_pid" || code=$?
    echo "demo: the simulated client did not start: it exited with code $code" >&2
  fi
  echo "demo: its output ($client/simclient.out):" >&2
  tail -n 20 "$client/simclient.out" >&2
  [ -f "$journal" ] && { echo "demo: its journal:" >&2; tail -n 5 "$journal" >&2; }
  exit 1
fi
echo "demo: simulated client running (journal $journal)"

(cd "$program" && TZ=$demo_tz exec wine Halyard.exe </dev/null >"$program/halyard.out" 2>&1) &
# Halyard's start-up reads the client's positions: the positions page opens.
for _ in $(seq 1 150); do
  grep -q '"event":"page_opened"' "$journal" 2>/dev/null && break
  sleep 0.2
done
sleep 4
shot() { xwd -root -display "$DISPLAY" 2>/dev/null | /usr/bin/convert xwd:- "png:$shots/$1.png" 2>/dev/null || true; }
window_shot() {
  xwd -display "$DISPLAY" -name "$1" 2>/dev/null | /usr/bin/convert xwd:- "png:$shots/$2.png" 2>/dev/null || true
}
shot 1-before-the-fall
window_shot Halyard 1-halyard-window

before=$(grep -c '"event":"order_submitted"' "$journal" || true)
echo "demo: 600000 浦发银行 falls from 8.88 to 8.00 (-5.9 % against the cost of 8.50)"
(cd "$client" && wine simclient.exe --send price 600000 8.00 </dev/null >"$client/send.out" 2>&1) || true
sold=0
for _ in $(seq 1 150); do
  now=$(grep -c '"event":"order_accepted"' "$journal" || true)
  if [ "$now" -gt 0 ] && [ "$(grep -c '"event":"order_submitted"' "$journal" || true)" -gt "$before" ]; then
    sold=1
    break
  fi
  sleep 0.2
done
sleep 3
# The client's pop-ups left it in front: its picture first, then a second start of Halyard,
# which only brings the running one to the front.
shot 2-client-after-the-sale
(cd "$program" && TZ=$demo_tz wine Halyard.exe </dev/null >>"$program/halyard.out" 2>&1) || true
sleep 2
shot 2-after-the-sale
window_shot Halyard 2-halyard-window

echo
echo "== what the broker client recorded (orders, pop-ups, cancellations)"
grep -E '"event":"(order_[a-z]+|popup_shown|popup_closed)"' "$journal" || echo "(nothing)"
echo
if [ "$sold" -eq 1 ]; then
  line=$(grep '"event":"order_submitted"' "$journal" | tail -n 1)
  field() { printf '%s' "$line" | sed -n "s/.*\"$1\":\"\{0,1\}\([^\",}]*\).*/\1/p"; }
  echo "Halyard sold: side $(field side), code $(field code), price $(field price), quantity $(field quantity) shares"
else
  echo "demo: no sell order reached the client within 30 s" >&2
fi
if [ -f "$program/Halyard_journal.txt" ]; then
  echo
  echo "== Halyard's own journal ($program/Halyard_journal.txt)"
  cat "$program/Halyard_journal.txt"
fi
echo
echo "demo: screenshots in $shots"
(cd "$client" && wine simclient.exe --send quit </dev/null >>"$client/send.out" 2>&1) || true
[ "$sold" -eq 1 ]
