#!/bin/sh
# Writes the three default alert sounds into the folder given: Mandarin speech from espeak-ng,
# else tones from sox, else nothing (the program then falls back to the system's sound).
dir=$1
mkdir -p "$dir"
make_sound() {
  file=$dir/$1 words=$2 tone=$3
  [ -s "$file" ] && return 0
  if command -v espeak-ng >/dev/null 2>&1 && espeak-ng -v cmn -s 150 -w "$file" "$words" >/dev/null 2>&1; then
    return 0
  fi
  if command -v sox >/dev/null 2>&1 && sox -n -r 22050 -b 16 -c 1 "$file" synth 0.6 sine "$tone" >/dev/null 2>&1; then
    return 0
  fi
  rm -f "$file"
  echo "OrderSound: neither espeak-ng nor sox could write $1; skipped" >&2
}
make_sound StopLoss.wav "止损" 440
make_sound MoveStopLoss.wav "跟踪止损" 660
make_sound TakeProfit.wav "止盈" 880
exit 0
