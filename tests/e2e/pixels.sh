#!/usr/bin/env bash
# Pixel checks on rendered pages of a deck with known data: a diagonal
# curve y = x on axes fixed at 0 to 10, a point with y error bars and a
# point whose x error bar runs left through the legend box, drawn once with
# tick marks and once with a fine solid grid. Positions come from the
# frame and legend box found in the PostScript records, mapped to pixels
# the way the page set-up places them. Checked: ink where the curve and
# the bars pass, no ink where nothing is drawn, nothing inside the legend
# box but the legend (grid lines, ticks and the error bar stop at its
# edge), and a blank page fails the ink check.
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
source "$src/tests/tools/e2e.bash"

res=100 # dots per inch of the renders

# ---- the deck -------------------------------------------------------------
field() { printf '%11s' "$1"; }
card() {
  local f
  for f in "$@"; do field "$f"; done
  printf '\n'
}
real() { printf '%11.4E' "$@"; }

deck() {
  local grid
  for grid in 0 5; do # tick marks, then the fine solid grid
    card "" "" "" "" 1 1
    card 1 1 0 "$grid" 0 0
    printf '%-40s%s\n' "Across" "u"
    printf '%-40s%s\n' "Up" "u"
    printf 'Grid type %s\n' "$grid"
    printf 'Known positions\n'
    card 0.0 10.0 1 1 1 0 # fixed limits, x error bars, no rounding
    card 0.0 10.0 1 1 1 0 # fixed limits, y error bars, no rounding
    printf '\n'
  done
}

# One curve and one point set per plot. Titles without descenders keep
# the legend's text inside its rows.
curves() {
  local i
  for _ in 1 2; do # one for each plot
    printf 'LINE\n'
    for i in $(seq 0 20); do
      real "$((i / 2)).$((i % 2 * 5))" "$((i / 2)).$((i % 2 * 5))"
      printf '\n'
    done
    printf '\n'
  done
}
points() {
  for _ in 1 2; do # one for each plot
    printf 'DOTS\n'
    real 8 0 0 2 1 1 # y bars from 1 to 3
    printf '\n'
    real 9.5 0 9.5 9.75 0 0 # x bar left to the frame edge
    printf '\n\n'
  done
}

cd "$work"
deck >VESKARO.INP
curves >VESKARO.CUR
points >VESKARO.PNT
cp "$src"/data/PLOT.CHR "$src"/data/PLOT.SYM .
"$build/programs/veskaro-ps" >stdout.txt || fail "veskaro-ps exited $?"
grep -q "End of Run" VESKARO.LST || fail "no closing line"
grep -q "X Limits (Plane).................. 0.0        to  10.0000000" \
  VESKARO.LST || fail "x limits are not the fixed 0 to 10"

# ---- rendering and pixel probes ------------------------------------------
render() { # render FILE.ps: FILE.png, portrait A4 as the page set-up expects
  local log
  log=$(gs -dSAFER -dBATCH -dNOPAUSE -q -sDEVICE=pnggray -r$res \
    -sPAPERSIZE=a4 -dFIXEDMEDIA -sOutputFile="${1%.ps}.png" "$1" 2>&1) ||
    fail "gs failed on $1: $log"
  [ -z "$log" ] || fail "gs reported on $1: $log"
}

# Closed axis-parallel rectangles (one move and four draws, as the frame
# fill and the legend box are written): "left right bottom top" in points
# along the plot's x and y. A move to the point just written (a colour
# change or a path restart) is skipped.
rects() {
  awk '/ (moveto|lineto)$/ {
    x = $1; y = $2
    if ($3 == "moveto" && n > 0 && x == px[n] && y == py[n]) next
    n++; px[n] = x; py[n] = y; pk[n] = $3
    if (n < 5 || pk[n-4] != "moveto") next
    for (i = n - 3; i <= n; i++) if (pk[i] != "lineto") next
    if (px[n] == px[n-4] && py[n] == py[n-4] && px[n-3] == px[n-4] &&
        py[n-2] == py[n-3] && px[n-1] == px[n-2] && py[n-1] == py[n-4] &&
        px[n-4] != px[n-2] && py[n-4] != py[n-3]) {
      l = px[n-4]; r = px[n-2]; if (l > r) { t = l; l = r; r = t }
      b = py[n-4]; u = py[n-3]; if (b > u) { t = b; b = u; u = t }
      print l, r, b, u
    }
  }' "$1"
}

# Probes of one page, checked together by one `convert` run: each is a
# region in points along the plot's x and y, whether it must hold ink
# (some pixel darker than mid grey) or be blank, and what it shows. The
# page set-up puts the point (x, y) at (585 - y, 27 + x) on the portrait
# page.
geoms=()
wants=()
whats=()
probe() { # probe ink|blank WHAT X1 X2 Y1 Y2
  geoms+=("$(awk -v s="$res" -v x1="$3" -v x2="$4" -v y1="$5" -v y2="$6" \
    'BEGIN {
    s /= 72
    c1 = int((585 - y2) * s + 0.5); c2 = int((585 - y1) * s + 0.5)
    r1 = int((815 - x2) * s + 0.5); r2 = int((815 - x1) * s + 0.5)
    w = c2 - c1; h = r2 - r1; if (w < 1) w = 1; if (h < 1) h = 1
    printf "%dx%d+%d+%d", w, h, c1, r1 }')")
  wants+=("$1")
  whats+=("$2")
}
check() { # check PNG: every probe queued since the last check
  local args=() g i darkest
  for g in "${geoms[@]}"; do
    args+=(\( mpr:page -crop "$g" +repage -format '%[fx:minima]\n'
      -write info:- +delete \))
  done
  mapfile -t darkest < <(convert "$1" -write mpr:page +delete "${args[@]}" \
    mpr:page null:)
  [ "${#darkest[@]}" = "${#geoms[@]}" ] || fail "$1: convert gave no answer"
  local bad=0
  for i in "${!geoms[@]}"; do
    if awk -v m="${darkest[$i]}" 'BEGIN { exit !(m < 0.5) }'; then
      [ "${wants[$i]}" = ink ] || { echo "FAIL: $1: ink at ${whats[$i]}" >&2; bad=1; }
    else
      [ "${wants[$i]}" = blank ] || { echo "FAIL: $1: no ink at ${whats[$i]}" >&2; bad=1; }
    fi
  done
  geoms=()
  wants=()
  whats=()
  return "$bad"
}

# Frame and data positions: data (u, v) on the fixed 0 to 10 axes.
frame() { read -r FL FR FB FT < <(rects "$1" | head -1); }
at() { # at U V: sets PX PY, the point in points
  read -r PX PY < <(awk -v u="$1" -v v="$2" -v l="$FL" -v r="$FR" \
    -v b="$FB" -v t="$FT" \
    'BEGIN { print l + u / 10 * (r - l), b + v / 10 * (t - b) }')
}
around() { # around U V HALF: "x1 x2 y1 y2" of a square about the point
  at "$1" "$2"
  awk -v x="$PX" -v y="$PY" -v d="$3" \
    'BEGIN { print x - d, x + d, y - d, y + d }'
}

# The legend box: the largest rectangle drawn inside the frame after it.
legend() {
  read -r BL BR BB BT < <(rects "$1" | awk -v l="$FL" -v r="$FR" \
    -v b="$FB" -v t="$FT" 'NR > 1 && $1 >= l && $2 <= r && $3 >= b &&
    $4 <= t && ($2 - $1 < r - l || $4 - $3 < t - b) &&
    ($2 - $1) * ($4 - $3) > best { best = ($2 - $1) * ($4 - $3); line = $0 }
    END { print line }')
  [ -n "${BT:-}" ] || fail "$1: no legend box"
}

# Inside the box of one curve and one point set with 4-character titles
# the character size C is the box height / 4.5 and the box 12 C wide:
# the line sample starts C in, the titles run from 7 C to 11 C, text rows
# stand 1.75 C apart below the top. Strips free of legend text, each
# "x1 x2 y1 y2", in points.
strips() {
  awk -v l="$BL" -v r="$BR" -v b="$BB" -v t="$BT" 'BEGIN {
    c = (t - b) / 4.5; m = 1.5
    if ((r - l) / c < 11.9 || (r - l) / c > 12.1) {
      print "box of " r - l " by " t - b " points is not 12 by 4.5 sizes"
      exit 1
    }
    print l + m, l + c - m, b + m, t - m          # left margin
    print l + 11 * c + m, r - m, b + m, t - m     # right margin
    print l + m, r - m, t - 0.75 * c + m, t - m   # above the first row
    print l + m, r - m, t - 2.5 * c + m, t - 1.75 * c - m  # between rows
    print l + m, r - m, b + m, b + c - m          # below the last row
  }'
}

legend_clear() { # legend_clear PS: probes the text-free strips of its box
  local s x1 x2 y1 y2
  legend "$1"
  s=$(strips) || fail "$1: $s"
  while read -r x1 x2 y1 y2; do
    probe blank "the legend box, $x1..$x2 by $y1..$y2" "$x1" "$x2" "$y1" "$y2"
  done <<<"$s"
}
add() { awk -v a="$1" -v b="$2" 'BEGIN { print a + b }'; }

# ---- the page with tick marks --------------------------------------------
render PLOT0001.ps # the start page: rendered without error
ps=PLOT0002.ps
render "$ps"
frame "$ps"
[ -n "${FT:-}" ] || fail "$ps: no frame"
for t in 1 2 3 4 5 6 7 8 9; do
  # shellcheck disable=SC2046
  probe ink "the curve at $t, $t" $(around "$t" "$t" 2)
done
for uv in "3 7" "6 2" "9 5" "2 5" "5 8" "8 3.4" "7 2"; do
  # shellcheck disable=SC2046,SC2086
  probe blank "$uv, off the curve" $(around $uv 3)
done
# The y bar from 1 to 3 at x 8, outside the symbol.
for v in 1.4 2.6; do
  # shellcheck disable=SC2046
  probe ink "the error bar at 8, $v" $(around 8 "$v" 2)
done
# The x bar at y 9.75 crosses the legend box's rows: drawn right of it,
# left out inside it.
legend "$ps"
at 5 9.75
awk -v y="$PY" -v b="$BB" -v t="$BT" 'BEGIN { exit !(y > b + 2 && y < t - 2) }' ||
  fail "$ps: the x error bar no longer crosses the legend box"
probe ink "the x error bar beside the legend box" \
  "$BR" "$(add "$BR" 6)" "$(add "$PY" -1.5)" "$(add "$PY" 1.5)"
legend_clear "$ps"
check PLOT0002.png || exit 1
echo "tick page: curve, bars and legend box as expected"

# ---- the page with the fine grid -----------------------------------------
ps=PLOT0003.ps
render "$ps"
frame "$ps"
legend "$ps"
# Grid lines run up to the box from below and from the right...
probe ink "grid lines below the legend box" \
  "$BL" "$BR" "$(add "$BB" -6)" "$(add "$BB" -1.5)"
probe ink "grid lines right of the legend box" \
  "$(add "$BR" 1.5)" "$(add "$BR" 6)" "$BB" "$BT"
# ...and leave its inside to the legend.
legend_clear "$ps"
check PLOT0003.png || exit 1
echo "grid page: grid lines stop at the legend box"

# ---- a blank page fails --------------------------------------------------
printf '%s\n' '%!PS-Adobe-2.0' '%%Page:   1   1' '585 27 translate' \
  '90 rotate' 'showpage' >blank.ps
render blank.ps
frame PLOT0002.ps
probe ink "the frame" "$FL" "$FR" "$FB" "$FT"
if check blank.png 2>/dev/null; then
  fail "the ink check passes a blank page"
fi
echo "blank page: fails the ink check"
