#!/usr/bin/env bash
# The option menu's layout choices: the ratio subplot toggled on in an
# overlay layout (drawn over the first drawing, below the main plot, where
# two subplots were never set up before) and in a plain layout, larger and
# smaller characters moving the frame, a screen dump that leaves the plot
# and shows the menu again, and the end of the run from the menu without a
# closing line in the listing.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$SRC/tests/tools/x11_e2e.bash"

start_xvfb 800x640x24
mkdir "$WORK/run"
menu_deck "$WORK/run" 2
# The first plot overlays its redraws in one cell.
sed -i "1s/.*/$(printf '%11s%11s%11s%11s%11s%11s' '' '' '' '' -1 1)/" \
  "$WORK/run/VESKARO.INP"
start_program "$WORK/run"
YELLOW=255,255,0

# The boundary of a ratio subplot (a third of the plot area from below,
# 3.63 on the virtual page) and the frame's left edge at character size
# 1 (1.1) and 1.2 (1.32).
BOUNDARY=$(page_crop 3 11 3.5 3.75)
LEFT10=$(page_crop 1.07 1.13 4 6)
LEFT12=$(page_crop 1.29 1.35 4 6)
count() { count_in "$WORK/$1.rgb" "$YELLOW" "$2"; }
choose() {
  pick_option "$1"
  wait_redrawn "$WORK/$2.rgb" "$WORK/$3.rgb"
}

shot "$WORK/start.rgb"
click_at 6 5
wait_redrawn "$WORK/start.rgb" "$WORK/over.rgb"
[ "$(count over "$BOUNDARY")" = 0 ] || fail "a ratio subplot at the start"
choose 7 over overratio
[ "$(count overratio "$BOUNDARY")" -gt 300 ] ||
  fail "no ratio subplot in the overlay cell"
choose 5 overratio plain

[ "$(count plain "$BOUNDARY")" = 0 ] || fail "plot 2 starts with a ratio"
[ "$(count plain "$LEFT10")" -gt 80 ] && [ "$(count plain "$LEFT12")" = 0 ] ||
  fail "frame edge at the start"
choose 7 plain ratio
[ "$(count ratio "$BOUNDARY")" -gt 300 ] || fail "no ratio subplot"
choose 18 ratio large
[ "$(count large "$LEFT10")" = 0 ] && [ "$(count large "$LEFT12")" -gt 80 ] ||
  fail "larger characters: frame edge did not move"
choose 19 large small
cmp -s "$WORK/ratio.rgb" "$WORK/small.rgb" || fail "smaller characters"

# A dump, then the menu again without a redraw; then the end of the run.
pick_option 25
for _ in $(seq 100); do [ -s "$WORK/run/SCREEN.1" ] && break; sleep 0.1; done
identify "$WORK/run/SCREEN.1" >/dev/null 2>&1 ||
  fail "no picture in SCREEN.1: $(ls "$WORK/run")"
pick_option 36
rc=0
wait "$PROGRAM" || rc=$?
[ "$rc" = 0 ] || fail "exit status $rc: $(cat "$WORK/run/err")"
[ ! -e "$WORK/run/SCREEN.2" ] || fail "one dump too many"
LST="$WORK/run/VESKARO.LST"
[ "$(grep -c '^ X Limits (Plane)' "$LST")" = 6 ] || fail "expected 6 drawings"
! grep -q 'End of Run' "$LST" || fail "closing line after the end option"
echo ok
