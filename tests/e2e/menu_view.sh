#!/usr/bin/env bash
# The option menu's display choices, checked on the screen: grid lines
# after "Line Both" and gone again after "Ticks", the legend box gone
# and back, data marks on and off, x and y error bars off, and the white
# background. A key press ends the plot's menu and the run closes.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$SRC/tests/tools/x11_e2e.bash"

start_xvfb 800x640x24
mkdir "$WORK/run"
menu_deck "$WORK/run" 1
start_program "$WORK/run"
YELLOW=255,255,0 RED=255,0,0 GREEN=128,255,0 WHITE=255,255,255 DARK=32,32,32

# Regions of the virtual page: an empty part of the frame, the inside of
# the legend box (top left of the frame) and everything below the strip.
EMPTY=$(page_crop 3 6 7 9)
LEGEND=$(page_crop 1.3 2.6 9.1 9.6)
ALL=$(page_crop 0 13.5 0 9.69)
count() { count_in "$WORK/$1.rgb" "$2" "$3"; }

# Chooses option $1 and waits for the redraw of shot $2 into shot $3.
choose() {
  pick_option "$1"
  wait_redrawn "$WORK/$2.rgb" "$WORK/$3.rgb" "${4:-$YELLOW}"
}

shot "$WORK/start.rgb"
click_at 6 5
wait_redrawn "$WORK/start.rgb" "$WORK/plain.rgb"
[ "$(count plain "$YELLOW" "$EMPTY")" = 0 ] || fail "grid lines at the start"
[ "$(count plain "$RED" "$LEGEND")" -gt 20 ] &&
  [ "$(count plain "$GREEN" "$LEGEND")" -gt 20 ] || fail "no legend box"

choose 16 plain grid
[ "$(count grid "$YELLOW" "$EMPTY")" -gt 1000 ] || fail "no grid lines"
choose 11 grid ticks
cmp -s "$WORK/plain.rgb" "$WORK/ticks.rgb" || fail "grid lines left"

choose 17 ticks nolegend
[ "$(count nolegend "$RED" "$LEGEND")" = 0 ] &&
  [ "$(count nolegend "$GREEN" "$LEGEND")" = 0 ] || fail "legend box left"
choose 17 nolegend legend
cmp -s "$WORK/plain.rgb" "$WORK/legend.rgb" || fail "legend box not back"

choose 4 legend marks
[ "$(count marks "$GREEN" "$ALL")" -gt $(($(count plain "$GREEN" "$ALL") + 20)) ] ||
  fail "no data marks"
choose 4 marks nomarks
cmp -s "$WORK/plain.rgb" "$WORK/nomarks.rgb" || fail "data marks left"

# The point set is red: each kind of error bar takes red pixels away.
red0=$(count plain "$RED" "$ALL")
choose 8 nomarks nox
red1=$(count nox "$RED" "$ALL")
[ "$red1" -lt $((red0 - 50)) ] || fail "x error bars: $red0 -> $red1"
choose 9 nox noy
red2=$(count noy "$RED" "$ALL")
[ "$red2" -lt $((red1 - 50)) ] || fail "y error bars: $red1 -> $red2"

# White background; the menu's texts turn dark grey.
choose 10 noy white "$DARK"
[ "$(count white "$WHITE" "$ALL")" -gt 100000 ] || fail "background not white"

# A key ends the menu; the deck ends and the run closes.
read -r px py <<<"$(where 6 5)"
xdotool mousemove $((px + 1)) $((py + 1)) key Return
rc=0
wait "$PROGRAM" || rc=$?
[ "$rc" = 0 ] || fail "exit status $rc: $(cat "$WORK/run/err")"
[ "$(grep -c '^ X Limits (Plane)' "$WORK/run/VESKARO.LST")" = 10 ] ||
  fail "expected 10 drawings"
grep -q '^ End of Run      11 Plots Generated' "$WORK/run/VESKARO.LST" ||
  fail "closing line: $(tail -n1 "$WORK/run/VESKARO.LST")"
echo ok
