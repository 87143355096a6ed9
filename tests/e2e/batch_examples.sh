#!/usr/bin/env bash
# Runs both batch programs on the shipped example folder, checks the run
# and renders every page with Ghostscript: any interpreter error, a blank
# page or a missing closing line fails the test.
set -euo pipefail
build=$1
src=$2
source "$src/tests/tools/e2e.bash"

render() {  # render FILE.ps OUTPREFIX
  local log
  log=$(gs -dSAFER -dBATCH -dNOPAUSE -q -sDEVICE=pnggray -r30 \
    -sOutputFile="$2-%03d.png" "$1" 2>&1) || fail "gs failed on $1: $log"
  [ -z "$log" ] || fail "gs reported on $1: $log"
}

for prog in veskaro-ps1 veskaro-ps; do
  dir=$work/$prog
  mkdir -p "$dir"
  cp "$src"/examples/VESKARO.{INP,CUR,PNT} "$dir"/
  cp "$src"/data/PLOT.CHR "$src"/data/PLOT.SYM "$dir"/
  (cd "$dir" && "$build/programs/$prog" >stdout.txt) ||
    fail "$prog exited with status $?"
  grep -q "End of Run" "$dir/VESKARO.LST" || fail "$prog: no closing line"
  ls "$dir"/PLOT*.ps >/dev/null 2>&1 || fail "$prog wrote no PostScript"
  pages=$(grep -c "SENDING PLOT" "$dir/stdout.txt" || true)
  [ "$pages" -ge 1 ] || fail "$prog reported no finished page"
  for ps in "$dir"/PLOT*.ps; do
    render "$ps" "${ps%.ps}"
  done
  for png in "$dir"/*.png; do
    # A page with nothing drawn renders as pure white.
    mean=$(convert "$png" -format '%[fx:mean]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m < 0.999) }' ||
      fail "$prog: blank page $png"
  done
  echo "$prog: $(ls "$dir"/*.png | wc -l) pages rendered"
done
