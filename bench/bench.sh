#!/usr/bin/env bash
# Benchmark of a large curve: veskaro-ps1 end to end against `cat | wc -l`
# over the same file and gnuplot drawing the same data as PostScript lines
# on log-log axes. Prints the median times, their ratios and the peak
# memory of veskaro-ps1, for 1,000,000 and 10,000,000 points. Then, when
# the picture programs are built, each against the path a user has
# without them: veskaro-pdf against veskaro-ps1 and ps2pdf, veskaro-png
# against veskaro-ps and Ghostscript rendering its pages at 150 dpi, on
# that curve of 1,000,000 points and on a noisy one whose every point is
# drawn; and the peak memory of each program at 10,000,000 points.
#
#   bash bench/bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
runs=${2:-3}
prog=$build/programs/veskaro-ps1
command -v gnuplot >/dev/null || {
  echo "gnuplot is needed: apt-get install -y gnuplot-nox" >&2
  exit 1
}
command -v bc >/dev/null || {
  echo "bc is needed: apt-get install -y bc" >&2
  exit 1
}
[ -x /usr/bin/time ] || {
  echo "/usr/bin/time is needed: apt-get install -y time" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_data() {  # make_data N DIR [NOISE]
  mkdir -p "$2"
  # One curve of N points in the curves-file columns (x in 1-11, y in
  # 12-22), and the same data as two columns for gnuplot. NOISE (0 to 1)
  # scatters y, so that the thinning of near points keeps them.
  awk -v n="$1" -v noise="${3:-0}" 'BEGIN {
    srand(1)
    print "Benchmark curve" > "'"$2"'/VESKARO.CUR"
    for (i = 1; i <= n; i++) {
      x = i; y = 1000 + 500 * sin(i / 1000.0) + i / 1000.0 + noise * 900 * rand()
      printf "%11.4E%11.4E\n", x, y > "'"$2"'/VESKARO.CUR"
      printf "%.4E %.4E\n", x, y > "'"$2"'/data.txt"
    }
  }'
  # Layout: whole page; control: one curve; X and Y cards: log scales.
  {
    echo ""
    printf '%11d%11d%11d%11d%11d%11d\n' 1 0 0 0 0 0
    echo "x                                       units"
    echo "y                                       units"
    echo "Benchmark"
    echo "$1 points"
    printf '%22s%11d%11d%11d%11d\n' "" 0 2 0 0
    printf '%22s%11d%11d%11d%11d\n' "" 0 2 0 0
  } >"$2/VESKARO.INP"
  cp "$src/data/PLOT.CHR" "$src/data/PLOT.SYM" "$2/"
  cat >"$2/plot.gp" <<GP
set terminal postscript landscape
set output "gnuplot.ps"
set logscale xy
plot "data.txt" using 1:2 with lines
GP
}

seconds() {  # seconds DIR COMMAND...
  local dir=$1
  shift
  local t0 t1
  t0=$(date +%s.%N)
  (cd "$dir" && "$@" >/dev/null 2>&1)
  t1=$(date +%s.%N)
  echo "$t1 - $t0" | bc -l
}

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

times=()
printf '%-10s %10s %10s %10s %8s %8s %10s\n' points veskaro cat_wc gnuplot \
  v/cat gnu/v peak_MB
for n in 1000000 10000000; do
  dir=$work/$n
  make_data "$n" "$dir"
  : >"$dir/v" ; : >"$dir/c" ; : >"$dir/g"
  for _ in $(seq "$runs"); do
    seconds "$dir" "$prog" >>"$dir/v"
    seconds "$dir" sh -c 'cat VESKARO.CUR | wc -l' >>"$dir/c"
    seconds "$dir" gnuplot plot.gp >>"$dir/g"
  done
  v=$(median <"$dir/v"); c=$(median <"$dir/c"); g=$(median <"$dir/g")
  peak=$(cd "$dir" && /usr/bin/time -v "$prog" 2>&1 >/dev/null |
    awk -F: '/Maximum resident set size/ {printf "%.0f", $2 / 1024}')
  printf '%-10s %10.3f %10.3f %10.3f %8.2f %8.2f %10s\n' "$n" "$v" "$c" \
    "$g" "$(echo "$v / $c" | bc -l)" "$(echo "$g / $v" | bc -l)" "$peak"
  times+=("$v")
done
# Linear growth: ten times the points should take about ten times as long.
printf 'time(10,000,000) / time(1,000,000) = %.2f\n' \
  "$(echo "${times[1]} / ${times[0]}" | bc -l)"

[ -x "$build/programs/veskaro-pdf" ] || exit 0
command -v ps2pdf >/dev/null && command -v gs >/dev/null || {
  echo "ps2pdf and gs are needed for the pictures: apt-get install -y ghostscript" >&2
  exit 1
}
peak() {  # peak DIR PROGRAM: its peak resident memory in MB
  (cd "$1" && /usr/bin/time -v "$2" 2>&1 >/dev/null |
    awk -F: '/Maximum resident set size/ {printf "%.0f", $2 / 1024}')
}
echo
printf '%-16s %8s %11s %8s %10s %8s %9s\n' curve pdf "ps1+ps2pdf" png \
  "ps+gs" "svg" "drawn"
make_data 1000000 "$work/noisy" 1
for curve in 1000000 noisy; do
  dir=$work/$curve
  : >"$dir/pdf" ; : >"$dir/ps2pdf" ; : >"$dir/png" ; : >"$dir/gs" ; : >"$dir/svg"
  for _ in $(seq "$runs"); do
    seconds "$dir" "$build/programs/veskaro-pdf" >>"$dir/pdf"
    seconds "$dir" sh -c "'$prog' && ps2pdf -sPAPERSIZE=letter PLOT0001.ps" \
      >>"$dir/ps2pdf"
    seconds "$dir" "$build/programs/veskaro-png" >>"$dir/png"
    seconds "$dir" sh -c "'$build/programs/veskaro-ps' && for f in PLOT*.ps; do
      gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -sPAPERSIZE=letter \
        -r150 -dGraphicsAlphaBits=4 -sOutputFile=\"\${f%.ps}-gs.png\" \"\$f\"
      done" >>"$dir/gs"
    seconds "$dir" "$build/programs/veskaro-svg" >>"$dir/svg"
  done
  # The move and draw records of the pages: the points drawn.
  drawn=$(cat "$dir"/PLOT*.ps | grep -c -E ' (lineto|moveto)$')
  printf '%-16s %8.3f %11.3f %8.3f %10.3f %8.3f %9s\n' \
    "$([ "$curve" = noisy ] && echo "1000000 noisy" || echo "$curve")" \
    "$(median <"$dir/pdf")" "$(median <"$dir/ps2pdf")" "$(median <"$dir/png")" \
    "$(median <"$dir/gs")" "$(median <"$dir/svg")" "$drawn"
done
echo
dir=$work/10000000
printf 'peak MB at 10,000,000 points: veskaro-ps1 %s, veskaro-pdf %s, veskaro-svg %s, veskaro-png %s\n' \
  "$(peak "$dir" "$prog")" "$(peak "$dir" "$build/programs/veskaro-pdf")" \
  "$(peak "$dir" "$build/programs/veskaro-svg")" \
  "$(peak "$dir" "$build/programs/veskaro-png")"
