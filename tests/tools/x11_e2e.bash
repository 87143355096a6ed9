# Shared parts of the screen device's end-to-end tests: a private X server
# on a free display, pixel reads of the screen and a few checks.
# Source it with BUILD and SRC set; call start_xvfb first.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

WORK=$(mktemp -d)
XVFB_PID=
cleanup() {
  local pids
  pids=$(jobs -p)
  if [ -n "$pids" ]; then kill $pids 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Starts Xvfb on a display number it picks itself (no clash with tests
# running at the same time), waits for its socket and exports DISPLAY.
start_xvfb() {
  local size=${1:-1280x1024x24}
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$WORK/displayfd" \
    2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  local n=
  for _ in $(seq 100); do
    n=$(head -n1 "$WORK/displayfd" 2>/dev/null || true)
    if [ -n "$n" ] && [ -S "/tmp/.X11-unix/X$n" ]; then break; fi
    n=
    sleep 0.1
  done
  [ -n "$n" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$n"
}

# Colour of one window pixel as "r,g,b" (0-255). The window sits at the
# screen's corner inside a border of one pixel.
pixel() {
  import -window root -crop "1x1+$(($1 + 1))+$(($2 + 1))" -depth 8 txt:- |
    sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p'
}

expect_pixel() {
  local got
  got=$(pixel "$1" "$2")
  [ "$got" = "$3" ] || fail "pixel ($1, $2) is $got, expected $3 ($4)"
}

# Waits until a line matching $2 appears in file $1.
wait_for_line() {
  for _ in $(seq 200); do
    if grep -q -- "$2" "$1" 2>/dev/null; then return 0; fi
    sleep 0.05
  done
  fail "no line '$2' in $1: $(cat "$1" 2>/dev/null)"
}

wait_for_window() {
  for _ in $(seq 100); do
    if xdotool search --name '^VIMDERA$' >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  fail "no window VIMDERA"
}
