#!/usr/bin/env bash
# Regenerates the pictures the README shows: runs veskaro-ps on the shipped
# example folder in a scratch folder and renders the start page and the
# three plot pages with Ghostscript into docs/ as small PNGs, turned so
# that the plot's x axis runs to the right.
#
#   bash tools/render-readme.sh [BUILD_DIR]     (default: build)
#
# Needs ghostscript and ImageMagick (`convert`).
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
prog=$build/programs/veskaro-ps
[ -x "$prog" ] || {
  echo "no $prog: build first" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -L "$src"/examples/VESKARO.INP "$src"/examples/VESKARO.CUR \
  "$src"/examples/VESKARO.PNT "$work"/
cp "$src"/data/PLOT.CHR "$src"/data/PLOT.SYM "$work"/
(cd "$work" && "$prog" >/dev/null)

# render PAGE.ps NAME: 72 dots per inch, anti-aliased, A4 whatever the
# local default paper, without time stamps so that a rerun gives the same
# bytes.
render() {
  gs -dSAFER -dBATCH -dNOPAUSE -q -sDEVICE=png16m -r72 \
    -sPAPERSIZE=a4 -dFIXEDMEDIA -dGraphicsAlphaBits=4 \
    -sOutputFile="$work/$2-raw.png" "$work/$1"
  convert "$work/$2-raw.png" -rotate 90 -trim +repage -bordercolor white \
    -border 12 -strip \
    -define png:exclude-chunks=date,time "$src/docs/$2.png"
  echo "docs/$2.png"
}

mkdir -p "$src/docs"
render PLOT0001.ps start-page
render PLOT0002.ps example-1
render PLOT0003.ps example-2
render PLOT0004.ps example-3
