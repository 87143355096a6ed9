#!/usr/bin/env bash
# Both batch programs on a deck that walks through rotated, 2 by 2, 1 by 1
# and overlay layouts: the pages and files they write, the terminal line
# per page, well-formed move and draw records, and Ghostscript renders
# every page without an interpreter error. A run with an empty parameter
# file writes no PostScript at all.
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
source "$src/tests/tools/e2e.bash"

# Cards: numeric fields of 11 columns.
field() { printf '%11s' "$1"; }
card() {
  local f
  for f in "$@"; do field "$f"; done
  printf '\n'
}
labels() { printf '%-40s%s\n' "Time" "s"; printf '%-40s%s\n' "Signal" "V"; }
plot() {
  printf 'Plot %s\n' "$1"
  printf 'Second title line\n'
  card "" "" 0 1 0 0
  card "" "" 0 1 0 0
}

deck() {
  # Rotated page, one plot across and two down: two plots fill the page.
  card "" -13.0 "" 10.0 1 2
  card 1 0 1 0 0 1
  labels
  plot 1
  plot 2
  printf '\n'
  # 2 by 2: three plots leave the page partly filled.
  card "" "" "" "" 2 2
  card 1 0 0 2 0 1
  labels
  plot 3
  plot 4
  plot 5
  printf '\n'
  # 1 by 1: the changed layout ends the page first.
  card "" "" "" "" 1 1
  card 1 0 0 0 0 1
  labels
  plot 6
  printf '\n'
  # Overlay: two plots in one cell of the last page.
  card "" "" "" "" -2 1
  card 1 0 0 0 0 1
  labels
  plot 7
  plot 8
}

curves() {
  local k i
  for k in 1 2 3 4 5 6 7 8; do
    printf 'Curve %s\n' "$k"
    for i in 0 1 2 3 4 5 6 7 8 9 10; do
      awk -v i="$i" -v k="$k" \
        'BEGIN { printf "%11.4E%11.4E\n", i / 10, k * sin(i / 3) + 2 }'
    done
    printf '\n'
  done
}

render() { # render FILE.ps
  local log
  log=$(gs -dSAFER -dBATCH -dNOPAUSE -q -sDEVICE=png16m -r20 \
    -sOutputFile="${1%.ps}-%03d.png" "$1" 2>&1) || fail "gs failed on $1: $log"
  [ -z "$log" ] || fail "gs reported on $1: $log"
}

check_records() { # check_records FILE.ps
  local bad
  bad=$(grep -E 'moveto|lineto' "$1" |
    grep -cvE '^ *-?[0-9]+\.[0-9] +-?[0-9]+\.[0-9] (moveto|lineto)$' || true)
  [ "$bad" = 0 ] || fail "$1: $bad malformed move or draw records"
}

pages=5
for prog in veskaro-ps1 veskaro-ps; do
  dir=$work/$prog
  mkdir -p "$dir"
  cp "$src"/data/PLOT.CHR "$src"/data/PLOT.SYM "$dir"/
  deck >"$dir/VESKARO.INP"
  curves >"$dir/VESKARO.CUR"
  (cd "$dir" && "$build/programs/$prog" >stdout.txt) ||
    fail "$prog exited with status $?"
  grep -q "End of Run" "$dir/VESKARO.LST" || fail "$prog: no closing line"
  sent=$(grep -c "^============== SENDING PLOT" "$dir/stdout.txt" || true)
  [ "$sent" = "$pages" ] || fail "$prog: $sent pages reported, not $pages"

  if [ "$prog" = veskaro-ps1 ]; then
    [ "$(ls "$dir"/PLOT*.ps)" = "$dir/PLOT0001.ps" ] ||
      fail "$prog: wrote $(ls "$dir"/PLOT*.ps)"
    ps=$dir/PLOT0001.ps
    [ "$(grep -c '^%%Page:' "$ps")" = "$pages" ] || fail "$prog: page heads"
    [ "$(grep -c '^showpage$' "$ps")" = "$pages" ] || fail "$prog: showpage"
    grep -qx "%%Pages:   $pages" "$ps" || fail "$prog: page count record"
    [ "$(tail -1 "$ps")" = "%%EOF" ] || fail "$prog: no %%EOF at the end"
  else
    [ "$(ls "$dir"/PLOT*.ps | wc -l)" = "$pages" ] || fail "$prog: file count"
    for ps in "$dir"/PLOT*.ps; do
      [ "$(grep -c '^showpage$' "$ps")" = 1 ] || fail "$ps: one page expected"
      grep -qx '%%Page:   1   1' "$ps" || fail "$ps: page head"
      ! grep -q '%%Trailer' "$ps" || fail "$ps: trailer in a page file"
    done
    [ -f "$dir/PLOT0005.ps" ] || fail "$prog: no PLOT0005.ps"
  fi

  for ps in "$dir"/PLOT*.ps; do
    check_records "$ps"
    render "$ps"
  done
  rendered=$(ls "$dir"/*.png | wc -l)
  [ "$rendered" = "$pages" ] || fail "$prog: $rendered pages rendered"
  echo "$prog: $rendered pages rendered"
done

# An empty parameter file: no device use, no PostScript, no terminal line.
dir=$work/empty
mkdir -p "$dir"
: >"$dir/VESKARO.INP"
(cd "$dir" && "$build/programs/veskaro-ps1" >stdout.txt) ||
  fail "empty run exited with status $?"
! ls "$dir"/PLOT*.ps >/dev/null 2>&1 || fail "empty run wrote PostScript"
[ ! -s "$dir/stdout.txt" ] || fail "empty run wrote: $(cat "$dir/stdout.txt")"
echo "empty run: no PostScript"
