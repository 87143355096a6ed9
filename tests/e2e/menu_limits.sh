#!/usr/bin/env bash
# The option menu's window and scale choices, checked through the listing:
# a zoom by two picks on the frame (given right to left), the x and y scale
# toggles and the restore of the first drawing each draw the plot again
# with a new limits block; a key press and "Next Plot" end a plot's menu,
# an option without an action draws again unchanged, and the closing line
# counts every redraw.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$SRC/tests/tools/x11_e2e.bash"

start_xvfb 800x640x24
mkdir "$WORK/run"
menu_deck "$WORK/run" 2
start_program "$WORK/run"
LST="$WORK/run/VESKARO.LST"

shot "$WORK/start.rgb"
click_at 6 5 # start page
wait_redrawn "$WORK/start.rgb" "$WORK/plot.rgb"

# Zoom: the frame runs from 1.1 to 13.0 on the virtual page; pick at three
# quarters of it, once outside the frame (ignored), then at one quarter.
pick_option 3
# shellcheck disable=SC2046
click_at $(page_point 10.025 5)
# shellcheck disable=SC2046
click_at $(page_point 0.5 5)
# shellcheck disable=SC2046
click_at $(page_point 4.075 5)
wait_redrawn "$WORK/plot.rgb" "$WORK/zoom.rgb"
pick_option 1 # x scale
wait_redrawn "$WORK/zoom.rgb" "$WORK/xlog.rgb"
pick_option 2 # y scale
wait_redrawn "$WORK/xlog.rgb" "$WORK/ylog.rgb"
pick_option 6 # restore
wait_redrawn "$WORK/ylog.rgb" "$WORK/back.rgb"
cmp -s "$WORK/plot.rgb" "$WORK/back.rgb" ||
  fail "the restored plot differs from the first drawing"

# A key ends the menu of plot 1.
read -r px py <<<"$(where 6 5)"
xdotool mousemove $((px + 1)) $((py + 1)) key space
sleep 0.5
# Plot 2: an option without an action (20), then "Next Plot"; the deck
# ends there.
pick_option 20
sleep 0.3
pick_option 5
rc=0
wait "$PROGRAM" || rc=$?
[ "$rc" = 0 ] || fail "exit status $rc: $(cat "$WORK/run/err")"

# Limits lines in the order of the drawings: "lo hi scale" per line.
limits() {
  grep "^ $1 Limits (Plane)" "$LST" |
    awk '{ lo = substr($0, 36, 11); hi = substr($0, 51, 11)
           gsub(/D/, "E", lo); gsub(/D/, "E", hi)
           s = substr($0, 63); gsub(/[() ]/, "", s)
           printf "%.6g %.6g %s\n", lo, hi, s }'
}
mapfile -t X < <(limits X)
mapfile -t Y < <(limits Y)
[ "${#X[@]}" = 7 ] || fail "expected 7 drawings, got: ${X[*]}"
echo "x: ${X[*]}"
echo "y: ${Y[*]}"
read -r lo hi s <<<"${X[1]}"
awk -v lo="$lo" -v hi="$hi" 'BEGIN { exit !(lo >= 2.5 && lo <= 3.2 &&
  hi >= 7.8 && hi <= 8.5) }' || fail "zoomed x limits: ${X[1]}"
[ "$s" = Linear ] || fail "zoomed x scale: ${X[1]}"
[[ ${X[2]} == *" Log" ]] || fail "x scale not toggled: ${X[2]}"
[[ ${Y[2]} == *" Linear" ]] || fail "y scale changed with x: ${Y[2]}"
[[ ${X[3]} == *" Log" && ${Y[3]} == *" Log" ]] ||
  fail "y scale not toggled: ${X[3]} / ${Y[3]}"
[ "${X[4]}" = "${X[0]}" ] && [ "${Y[4]}" = "${Y[0]}" ] ||
  fail "restore: ${X[4]} / ${Y[4]} against ${X[0]} / ${Y[0]}"
# Plot 2 is drawn twice with the limits of its own first drawing.
[ "$(grep -c '^ Menu Plot 2' "$LST")" = 1 ] || fail "plot 2 not reached"
[ "${X[5]}" = "${X[0]}" ] && [ "${X[6]}" = "${X[0]}" ] ||
  fail "plot 2: ${X[5]} / ${X[6]}"
# Start page, plot 1 drawn five times, plot 2 twice.
grep -q '^ End of Run       8 Plots Generated' "$LST" ||
  fail "closing line: $(tail -n1 "$LST")"
echo ok
