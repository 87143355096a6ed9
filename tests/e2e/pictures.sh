#!/usr/bin/env bash
# The picture programs against the PostScript ones, on the shipped example
# and on decks of rotated, 2 by 2, overlay and ratio plots, grids, error
# bars and more curves than there are pens: the same listing and terminal
# lines, as many pages, and each page, read by a consumer of its own
# format (pdftoppm, rsvg-convert, the PNG as written), shows the ink of
# Ghostscript's rendering of the PostScript page, turned upright, within
# two pixels and in the same colours, at 150 pixels per inch. The PDF and
# SVG hold strokes only: no font and no picture.
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
source "$src/tests/tools/e2e.bash"

[ -x "$build/programs/veskaro-pdf" ] || {
  echo "skipped: built without cairo"
  exit 0
}

card() { printf '%11s' "$@"; printf '\n'; }
labels() { printf '%-40s%s\n' "Time" "s" "Signal" "V"; }
plot() {  # plot N XSCALE YSCALE
  printf 'Plot %s\nSecond title line\n' "$1"
  card "" "" 1 "$2" 0 0
  card "" "" 1 "$3" 0 1
}
curves() {  # curves COUNT: COUNT curves per plot, for 8 plots
  awk -v n="$1" 'BEGIN {
    for (p = 0; p < 8; p++) for (k = 1; k <= n; k++) {
      print "Curve " k
      for (i = 1; i <= 40; i++)
        printf "%11.4E%11.4E\n", i / 4, 2 + k / 4 + sin(i / 5 + k) * (1 + p / 8)
      print ""
    }
  }'
}
points() {  # two point sets per plot, with x and y error bars
  awk 'BEGIN {
    for (p = 0; p < 8; p++) for (k = 1; k <= 2; k++) {
      print "Set " k
      for (i = 1; i <= 9; i++)
        printf "%11.4E%11.4E%11.4E%11.4E%11.4E%11.4E\n", i, 0.3, 0.2, \
          2 + k + sin(i + k), 0.2, 0.3
      print ""
    }
  }'
}

mkdir "$work/decks"
mkdir "$work/decks/example" "$work/decks/layouts" "$work/decks/colours"
cp "$src"/examples/VESKARO.{INP,CUR,PNT} "$work/decks/example/"
{
  # Rotated, one across and two down; 2 by 2 with a dashed grid and a
  # ratio subplot; overlay with a full grid.
  card "" -13.0 "" 10.0 1 2; card 2 1 1 0 0 1; labels
  plot 1 1 1; plot 2 2 1; printf '\n'
  card "" "" "" "" 2 2; card 2 1 0 5 2 1; labels
  plot 3 1 1; plot 4 1 2; plot 5 -1 1; printf '\n'
  card "" "" "" "" -2 1; card 2 0 0 3 0 1; labels
  plot 6 1 1; plot 7 1 1
} >"$work/decks/layouts/VESKARO.INP"
curves 2 >"$work/decks/layouts/VESKARO.CUR"
points >"$work/decks/layouts/VESKARO.PNT"
{
  # Sixteen curves (the pens fold onto the table past 12) and point sets
  # on one page with a ratio subplot, then a 2 by 1 page.
  card "" "" "" "" 1 1; card 16 2 0 1 1 1; labels
  plot 1 1 1; printf '\n'
  card "" "" "" "" 2 1; card 16 2 0 0 0 -1; labels
  plot 2 1 1; plot 3 2 2
} >"$work/decks/colours/VESKARO.INP"
curves 16 >"$work/decks/colours/VESKARO.CUR"
points >"$work/decks/colours/VESKARO.PNT"

progs=(veskaro-ps1 veskaro-ps veskaro-pdf veskaro-svg veskaro-png)
for deck in example layouts colours; do
  for prog in "${progs[@]}"; do
    dir=$work/$deck/$prog
    mkdir -p "$dir"
    cp "$work/decks/$deck"/* "$src"/data/PLOT.{CHR,SYM} "$dir/"
    status=0
    (cd "$dir" && "$build/programs/$prog" >stdout 2>stderr) || status=$?
    [ "$status" = 0 ] && [ ! -s "$dir/stderr" ] ||
      fail "$deck: $prog: status $status: $(cat "$dir/stderr")"
  done
  ps1=$work/$deck/veskaro-ps1 ps=$work/$deck/veskaro-ps
  for prog in veskaro-ps veskaro-pdf veskaro-svg veskaro-png; do
    cmp -s "$work/$deck/$prog/VESKARO.LST" "$ps1/VESKARO.LST" ||
      fail "$deck: $prog's listing is not veskaro-ps1's"
  done
  cmp -s "$work/$deck/veskaro-pdf/stdout" "$ps1/stdout" ||
    fail "$deck: veskaro-pdf's terminal lines are not veskaro-ps1's"
  for prog in veskaro-svg veskaro-png; do
    cmp -s "$work/$deck/$prog/stdout" "$ps/stdout" ||
      fail "$deck: $prog's terminal lines are not veskaro-ps's"
  done

  pages=$(find "$ps" -name 'PLOT*.ps' | wc -l)
  [ "$pages" -ge 2 ] || fail "$deck: $pages PostScript pages"
  pdf=$work/$deck/veskaro-pdf/PLOT0001.pdf
  [ "$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')" = "$pages" ] ||
    fail "$deck: the PDF has not $pages pages: $(pdfinfo "$pdf")"
  [ "$(pdffonts "$pdf" | wc -l)" = 2 ] && [ "$(pdfimages -list "$pdf" | wc -l)" = 2 ] ||
    fail "$deck: the PDF holds fonts or pictures"
  for format in svg png; do
    [ "$(find "$work/$deck/veskaro-$format" -name "PLOT*.$format" | wc -l)" = "$pages" ] ||
      fail "$deck: not $pages $format files"
  done
  if grep -l -e '<image' -e '<text' "$work/$deck/veskaro-svg"/*.svg; then
    fail "$deck: an SVG holds text or a picture"
  fi

  pdftoppm -r 150 -png "$pdf" "$work/$deck/pdf"
  for n in $(seq "$pages"); do
    name=$(printf 'PLOT%04d' "$n")
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -sPAPERSIZE=letter \
      -r150 -dGraphicsAlphaBits=4 -sOutputFile="$work/$deck/ps.png" \
      "$ps/$name.ps"
    convert "$work/$deck/ps.png" -rotate 90 "$work/$deck/upright.png" 2>/dev/null
    rsvg-convert -d 150 -p 150 -o "$work/$deck/svg.png" \
      "$work/$deck/veskaro-svg/$name.svg"
    for picture in "$(ls "$work/$deck"/pdf-*.png | sed -n "${n}p")" \
      "$work/$deck/svg.png" "$work/$deck/veskaro-png/$name.png"; do
      "$build/tests/inkcompare" "$work/$deck/upright.png" "$picture" ||
        fail "$deck: page $n: $picture does not show the PostScript page"
    done
  done
  echo "ok: $deck: $pages pages alike in PDF, SVG and PNG"
done
