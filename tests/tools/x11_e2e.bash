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
# running at the same time), waits until it answers a client and exports
# DISPLAY. A server whose socket another server's shutdown took away does
# not answer: it is started anew, up to three times. -noreset keeps the
# check's client from sending the server through a reset just as the
# program under test connects.
start_xvfb() {
  local size=${1:-1280x1024x24} try n
  for try in 1 2 3; do
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset \
      3>"$WORK/displayfd" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    n=
    for _ in $(seq 100); do
      n=$(head -n1 "$WORK/displayfd" 2>/dev/null || true)
      if [ -n "$n" ] && [ -S "/tmp/.X11-unix/X$n" ]; then break; fi
      n=
      sleep 0.1
    done
    [ -n "$n" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$n"
    if xdotool getdisplaygeometry >/dev/null 2>&1; then return 0; fi
    kill "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  done
  fail "Xvfb on $DISPLAY does not answer (tried $try times)"
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
# The waits below allow a minute: a loaded machine running the tests side
# by side can take that long to start a program or draw a page.
wait_for_line() {
  for _ in $(seq 1200); do
    if grep -q -- "$2" "$1" 2>/dev/null; then return 0; fi
    sleep 0.05
  done
  fail "no line '$2' in $1: $(cat "$1" 2>/dev/null)"
}

wait_for_window() {
  for _ in $(seq 600); do
    if xdotool search --name '^VIMDERA$' >/dev/null 2>&1; then return 0; fi
    if [ -n "${PROGRAM:-}" ] && ! kill -0 "$PROGRAM" 2>/dev/null; then
      fail "the program ended before its window showed:" \
        "$(cat "$RUNDIR/out" "$RUNDIR/err" 2>/dev/null)"
    fi
    sleep 0.1
  done
  fail "no window VIMDERA; xdotool: $(xdotool search --name . 2>&1 | head -3)"
}

# Count of window pixels of colour r,g,b on the whole screen.
colour_count() {
  import -window root -depth 8 rgb:- | od -An -v -tu1 -w3 |
    awk -v want="$1" '{ if ($1 "," $2 "," $3 == want) n++ } END { print n + 0 }'
}

# Waits until at least $2 pixels of colour $1 are on the screen.
wait_for_colour() {
  for _ in $(seq 300); do
    if [ "$(colour_count "$1")" -ge "$2" ]; then return 0; fi
    sleep 0.1
  done
  fail "fewer than $2 pixels of $1 ($3): $(colour_count "$1")"
}

# Window pixel of a point in plot units.
where() {
  printf 'where %s %s\n' "$1" "$2" | "$BUILD/tests/tools/x11_devdrive" |
    cut -d' ' -f2-
}

# Clicks button 1 at a point in plot units.
click_at() {
  local px py
  read -r px py <<<"$(where "$1" "$2")"
  xdotool mousemove $((px + 1)) $((py + 1)) click 1
}

# --- Option menu of the interactive program ---------------------------

# Writes a small deck into folder $1: two curves and a point set, read by
# the first plot and plotted again by each later plot (one frame
# definition per plot, the same layout, so the plots follow each other).
# Further arguments: number of plots, grid code, ratio type.
menu_deck() {
  local dir=$1 plots=$2 grid=${3:-0} ratio=${4:-0}
  local card='%11s%11s%11s%11s%11s%11s%4s\n' n count
  cp "$SRC/data/PLOT.CHR" "$SRC/data/PLOT.SYM" "$SRC/data/PAGE.DAT" "$dir/"
  {
    echo "Line"
    for n in $(seq 10); do printf '%11s%11s\n' "$n.0" "$n.0"; done
    echo
    echo "Square"
    for n in $(seq 10); do printf '%11s%11s\n' "$n.0" "$((n * n / 5 + 1)).0"; done
    echo
  } >"$dir/VESKARO.CUR"
  {
    echo "Measured"
    for n in 2 4 6 8; do
      printf '%11s%11s%11s%11s%11s%11s\n' "$n.5" 0.3 0.3 "$n.0" 0.8 0.8
    done
    echo
  } >"$dir/VESKARO.PNT"
  for n in $(seq "$plots"); do
    count=$([ "$n" = 1 ] && echo "2 1" || echo "-2 -1")
    # shellcheck disable=SC2086
    printf "$card" "" "" "" "" 1 1 ""
    # shellcheck disable=SC2086
    printf "$card" $count 0 "$grid" "$ratio" 0 ""
    printf '%-40s%s\n' Time s Signal V
    printf '%s\n' "Menu Plot $n" "Second Line"
    printf "$card" "" "" 1 1 0 0 ""
    printf "$card" "" "" 1 1 0 0 ""
    echo
  done >"$dir/VESKARO.INP"
}

# Starts veskaro-x11 in folder $1 (dumps through a wrapper of `import`
# that grabs the whole screen) and sets PROGRAM to its process id.
start_program() {
  mkdir -p "$WORK/bin"
  cat >"$WORK/bin/import" <<'WRAP'
#!/bin/sh
exec /usr/bin/import -window root "$@"
WRAP
  chmod +x "$WORK/bin/import"
  (cd "$1" && PATH="$WORK/bin:$PATH" exec timeout 120 \
    "$BUILD/programs/veskaro-x11" >out 2>err) &
  PROGRAM=$!
  RUNDIR=$1
  wait_for_window
}

# Centre of the menu cell of option $1 in the device's plot units: the
# screen device draws on 0 to 12.5 by 0.01 to 10; eight columns across,
# and five rows of cells below the title row, each a thirtieth of the
# height.
menu_cell() {
  awk -v k="$1" 'BEGIN {
    ix = int((k - 1) / 5) + 1; iy = (k - 1) % 5 + 1
    dy = (10 - 0.0099999998) / 30
    printf "%.6f %.6f\n", (ix - 0.5) * 12.5 / 8, 10 - dy * (iy + 0.5)
  }'
}

# Picks option $1 of the menu.
pick_option() {
  # shellcheck disable=SC2046
  click_at $(menu_cell "$1")
}

# Device plot units of a point of the virtual page (0 to 13.5 by 0 to
# 10.24) in the single cell of a 1 by 1 layout below the menu strip.
page_point() {
  awk -v x="$1" -v y="$2" 'BEGIN {
    dy = (10 - 0.0099999998) / 30
    top = 10 - 6 * dy - 0.0099999998
    printf "%.6f %.6f\n", x * 12.5 / 13.5,
      0.0099999998 + y * (top - 0.0099999998) / 10.239999771118164
  }'
}

# The whole screen as raw pixels into file $1.
SCREEN_SIZE=
shot() {
  if [ -z "$SCREEN_SIZE" ]; then
    SCREEN_SIZE=$(xdotool getdisplaygeometry | tr ' ' x)
  fi
  import -window root -depth 8 "rgb:$1"
}

# Crop geometry of the window pixels of the rectangle x $1 to $2, y $3 to
# $4 in plot units.
crop_of() {
  local x1 y1 x2 y2
  read -r x1 y1 <<<"$(where "$1" "$4")"
  read -r x2 y2 <<<"$(where "$2" "$3")"
  echo "$((x2 - x1 + 1))x$((y2 - y1 + 1))+$((x1 + 1))+$((y1 + 1))"
}

# The same for a rectangle of the virtual page in the single cell of a
# 1 by 1 layout.
page_crop() {
  local a b
  a=$(page_point "$1" "$3")
  b=$(page_point "$2" "$4")
  crop_of "${a% *}" "${b% *}" "${a#* }" "${b#* }"
}

# Count of pixels of colour r,g,b ($2) in shot $1 within crop geometry $3.
count_in() {
  convert -size "$SCREEN_SIZE" -depth 8 "rgb:$1" -crop "$3" +repage \
    -fill 'rgb(1,2,3)' -opaque "rgb($2)" -fill black +opaque 'rgb(1,2,3)' \
    -fill white -opaque 'rgb(1,2,3)' -format '%[fx:round(mean*w*h)]' info:
}

# Waits until the screen differs from shot $1, holds still, and shows the
# menu's prompt again (the menu waits for the next choice); the new
# screen is left in shot $2. $3: colour of the prompt (default yellow).
PROMPT_CROP=
wait_redrawn() {
  local prev="$WORK/prev.rgb"
  [ -n "$PROMPT_CROP" ] || PROMPT_CROP=$(crop_of 8.6 12.3 9.7 9.98)
  shot "$prev"
  for _ in $(seq 100); do
    sleep 0.15
    shot "$2"
    if ! cmp -s "$1" "$2" && cmp -s "$prev" "$2" &&
      [ "$(count_in "$2" "${3:-255,255,0}" "$PROMPT_CROP")" -gt 50 ]; then
      return 0
    fi
    cp "$2" "$prev"
  done
  fail "the screen was not drawn again"
}
