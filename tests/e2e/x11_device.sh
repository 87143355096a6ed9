#!/usr/bin/env bash
# The screen device on a real X server: the window, palette colours on the
# blue background, lines and boxes, the wait between pages, mouse buttons
# (wheel steps ignored), keys and the background toggle.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$SRC/tests/tools/x11_e2e.bash"

start_xvfb 1600x1000x24
cd "$WORK"
mkfifo in
timeout 120 "$BUILD/tests/tools/x11_devdrive" <in >out 2>err &
DRIVER=$!
# Opened for reading too, so that a driver that died never blocks a write.
exec 4<>in
send() { printf '%s\n' "$*" >&4; }

# Pixels of a few plot-unit points.
for p in "6.25 5" "2 5" "2 2" "3 3" "10 8" "6 6" "0.5 9.5" "6 9"; do send "where $p"; done
send "say placed"
wait_for_line out placed
where() { grep "^where" out | sed -n "$1p" | cut -d' ' -f2-; }
read -r CX CY <<<"$(where 1)"
read -r LX LY <<<"$(where 2)"
read -r B1X B1Y <<<"$(where 4)"
read -r FX FY <<<"$(where 5)"
read -r IX IY <<<"$(where 6)"
read -r TX TY <<<"$(where 7)"
read -r AX AY <<<"$(where 8)"

send open
send "say opened"
wait_for_line out opened
wait_for_window
expect_pixel "$CX" "$CY" 0,0,255 "blue background"

# A frame as the core draws it: fill 0 (dark grey), border 2 (yellow); a
# red line (colour number 3) through it.
send "box 3 10 3 8 0 2"
send "pen 3"
send "plot 2 5 3"
send "plot 11 5 2"
send "pen 4"
send "plot 2 2 3"
send "plot 2 8 2"
send "say drawn"
wait_for_line out drawn
expect_pixel "$B1X" "$B1Y" 255,255,0 "frame corner in colour number 2"
expect_pixel "$FX" "$(( FY + 50 ))" 255,255,0 "frame edge in colour number 2"
expect_pixel "$IX" "$IY" 16,16,16 "frame fill in colour number 0"
expect_pixel "$CX" "$CY" 255,0,0 "line in colour number 3"
expect_pixel "$LX" "$LY" 128,255,0 "line in colour number 4"
expect_pixel "$AX" "$AY" 0,0,255 "background above the frame"

# The page is kept until the user clicks.
send nextplot
send "say cleared"
sleep 0.5
! grep -q cleared out || fail "nextplot did not wait for a click"
expect_pixel "$CX" "$CY" 255,0,0 "the page stays while waiting"
xdotool mousemove "$CX" "$CY" click 1
wait_for_line out cleared
expect_pixel "$CX" "$CY" 0,0,255 "cleared to blue after the click"

# Wheel steps are no answer; a click outside the area is passed over.
send mousey
sleep 0.3
xdotool mousemove 5 500 click 1
xdotool mousemove "$CX" "$CY" click 4 click 5
sleep 0.3
! grep -q "^mousey" out || fail "wheel step answered: $(grep '^mousey' out)"
xdotool click 2
wait_for_line out "^mousey 2 6.2"
grep -q "^mousey 2 6.2[0-9]* [45]\.[09]" out || fail "$(grep '^mousey' out)"

# Keys reach the window while the pointer is over it.
send mousey
sleep 0.2
xdotool key a
wait_for_line out "^mousey 4 0 0"
send key2
sleep 0.2
xdotool key a
wait_for_line out "^key2 97"
send key2
sleep 0.2
xdotool key shift+a
# The Shift key is a key press of its own; the A under Shift gives 65.
wait_for_line out "^key2 65505"
send key2
wait_for_line out "^key2 65$"
send keycode
sleep 0.2
xdotool key shift+F5 Up
wait_for_line out "^keycode 1072"
send key1
sleep 0.2
xdotool key Shift_L Return
wait_for_line out "^key1 \[.       \] 1"
grep -q $'^key1 \\[\r' out || fail "key1 did not give a carriage return"

# After the menu has been used, a page ends without waiting; the toggled
# background is white.
send newback
send nextplot
send "say white"
wait_for_line out white
expect_pixel "$CX" "$CY" 255,255,255 "toggled background"
send newback
send "text 1 0 Use MOUSE"
send newpal 1
send "say blue"
wait_for_line out blue
expect_pixel "$CX" "$CY" 0,0,255 "background back to blue"
expect_pixel "$TX" "$TY" 0,0,255 "blue under the text"

send close
exec 4>&-
wait "$DRIVER" || fail "device driver ended with status $?: $(cat err)"
[ ! -s err ] || fail "messages: $(cat err)"
echo ok
