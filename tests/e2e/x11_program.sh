#!/usr/bin/env bash
# veskaro-x11 on the shipped example: the window VIMDERA shows the start
# page until a click, draws the plots in palette-1 colours on the blue
# background, dumps the screen and toggles the background from its menu,
# moves on at each "Next Plot" and ends with status 0.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$SRC/tests/tools/x11_e2e.bash"

start_xvfb 1280x1024x24
mkdir "$WORK/run" "$WORK/bin"
cp "$SRC"/examples/VESKARO.{INP,CUR,PNT} "$SRC"/data/PLOT.{CHR,SYM} \
  "$SRC"/data/PAGE.DAT "$WORK/run/"
# Dumps of the whole screen need no pick of a window.
cat >"$WORK/bin/import" <<'WRAP'
#!/bin/sh
exec /usr/bin/import -window root "$@"
WRAP
chmod +x "$WORK/bin/import"

BLUE=0,0,255 GREY=16,16,16 YELLOW=255,255,0 RED=255,0,0 GREEN=128,255,0
WHITE=255,255,255
(cd "$WORK/run" && PATH="$WORK/bin:$PATH" exec timeout 120 \
  "$BUILD/programs/veskaro-x11" >out 2>err) &
PROGRAM=$!

# Menu cells in plot units: 8 columns of 12.5/8, rows of (10-0.01)/30
# below the title row.
cell() { awk -v c="$1" -v r="$2" 'BEGIN { print (c - 0.5) * 1.5625, 10 - (10 - 0.01) / 30 * (r + 0.5) }'; }

wait_for_window
# The start page: banner box on the blue background, no curve yet.
wait_for_colour "$GREY" 100000 "start page box"
wait_for_colour "$BLUE" 20000 "blue background"
wait_for_colour "$YELLOW" 1000 "banner text"
sleep 1
kill -0 "$PROGRAM" 2>/dev/null || fail "the program did not wait on its start page"
# Menu captions are in colour 4 and cell outlines in colour 3.
green0=$(colour_count "$GREEN")
red0=$(colour_count "$RED")

# The first plot: frame in colour 2, curves in colours 3 and 4.
click_at 6.25 4
wait_for_colour "$GREEN" $((green0 + 1000)) "second curve"
wait_for_colour "$RED" $((red0 + 2000)) "first curve"
wait_for_colour "$YELLOW" 3000 "frame"
wait_for_colour "$BLUE" 20000 "blue background"

# Screen dump from the menu.
click_at $(cell 5 5)
for _ in $(seq 100); do [ -s "$WORK/run/SCREEN.1" ] && break; sleep 0.1; done
[ -s "$WORK/run/SCREEN.1" ] || fail "no SCREEN.1"

# Background toggle: the plot is drawn again on white.
click_at $(cell 2 5)
wait_for_colour "$WHITE" 200000 "white background"
[ "$(colour_count "$BLUE")" = 0 ] || fail "blue left after the toggle"

# Next Plot until the run ends.
for _ in $(seq 12); do
  kill -0 "$PROGRAM" 2>/dev/null || break
  click_at $(cell 1 5)
  sleep 0.7
done
rc=0
wait "$PROGRAM" || rc=$?
[ "$rc" = 0 ] || fail "exit status $rc: $(cat "$WORK/run/err")"
grep -q "End of Run" "$WORK/run/VESKARO.LST" || fail "listing not finished"
echo ok
