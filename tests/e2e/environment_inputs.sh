#!/usr/bin/env bash
# The run's surroundings: an input that is there but cannot be read, an
# output that is an input under another name, more pages than four digits
# count, and a curve longer than the data store. Each stops the run with a
# message naming the file, or goes on and says what was cut; none leaves a
# damaged input behind or reports a failure as success.
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# fresh NAME: a folder holding the shipped example and the fonts.
fresh() {
  dir=$work/$1
  mkdir -p "$dir"
  cp -L "$src"/examples/VESKARO.* "$src"/examples/PAGE.DAT "$dir"/
  cp "$src"/data/PLOT.CHR "$src"/data/PLOT.SYM "$dir"/
}

# runs PROGRAM [PREFIX...]: runs PROGRAM from $bin in $dir; sets status.
bin=$build/programs
runs() {
  local prog=$1
  shift
  status=0
  (cd "$dir" && timeout 60 "$@" "$bin/$prog" >stdout.txt 2>stderr.txt) ||
    status=$?
  [ "$status" -ne 124 ] || fail "$prog in $dir hung"
}

# stops CASE WORD...: the run ended with status 2 and every WORD in its
# message.
stops() {
  local what=$1 word
  shift
  [ "$status" -eq 2 ] || fail "$what: exit status $status, expected 2"
  for word in "$@"; do
    grep -qF -- "$word" "$dir/stderr.txt" ||
      fail "$what: message lacks '$word': $(cat "$dir/stderr.txt")"
  done
  echo "ok: $what"
}

# An input that is a directory: only a missing file reads as empty.
for file in VESKARO.INP VESKARO.CUR VESKARO.PNT PLOT.CHR PLOT.SYM; do
  fresh "dir-$file"
  rm "$dir/$file"
  mkdir "$dir/$file"
  runs veskaro-ps1
  stops "$file as a directory" "$file" "Is a directory"
  [ ! -e "$dir/PLOT0001.ps" ] || fail "$file as a directory: pages written"
done

# Too many open files while the inputs are opened.
fresh nofile
runs veskaro-ps1 bash -c 'ulimit -n 5 && exec "$0"'
stops "too many open files" "Too many open files"

# No permission: root reads a mode-000 file anyway, so the run is made as
# an unprivileged user where the script runs as root.
fresh noperm
chmod 000 "$dir/VESKARO.CUR"
if [ "$(id -u)" -ne 0 ]; then
  runs veskaro-ps1
  stops "unreadable VESKARO.CUR" VESKARO.CUR "Permission denied"
elif command -v setpriv >/dev/null; then
  # The build folder may be closed to that user: run a copy.
  chmod 777 "$dir"
  cp "$build/programs/veskaro-ps1" "$work/"
  bin=$work
  runs veskaro-ps1 setpriv --reuid=65534 --regid=65534 --clear-groups
  bin=$build/programs
  stops "unreadable VESKARO.CUR" VESKARO.CUR "Permission denied"
else
  echo "skipped: unreadable VESKARO.CUR (root without setpriv)"
fi

# An output that is an input is refused before anything is written.
fresh lst-cur
cp "$dir/VESKARO.CUR" "$work/cur.orig"
ln -s VESKARO.CUR "$dir/VESKARO.LST"
runs veskaro-ps1
stops "VESKARO.LST linked to VESKARO.CUR" VESKARO.LST VESKARO.CUR
cmp -s "$dir/VESKARO.CUR" "$work/cur.orig" || fail "VESKARO.CUR overwritten"
[ ! -e "$dir/PLOT0001.ps" ] || fail "pages written despite the refusal"

fresh ps-inp
cp "$dir/VESKARO.INP" "$work/inp.orig"
ln "$dir/VESKARO.INP" "$dir/PLOT0001.ps"
runs veskaro-ps
stops "PLOT0001.ps a second name of VESKARO.INP" PLOT0001.ps VESKARO.INP
cmp -s "$dir/VESKARO.INP" "$work/inp.orig" || fail "VESKARO.INP overwritten"
[ ! -e "$dir/VESKARO.LST" ] || fail "listing written despite the refusal"

# A later page's file, checked when that page begins.
fresh ps2-cur
ln -s VESKARO.CUR "$dir/PLOT0002.ps"
runs veskaro-ps
stops "PLOT0002.ps linked to VESKARO.CUR" PLOT0002.ps VESKARO.CUR
cmp -s "$dir/VESKARO.CUR" "$work/cur.orig" || fail "VESKARO.CUR overwritten"
grep -q showpage "$dir/PLOT0001.ps" || fail "first page lost"

# The menu captions of the screen program, before any display is opened.
if [ -x "$build/programs/veskaro-x11" ]; then
  fresh lst-page
  ln -s PAGE.DAT "$dir/VESKARO.LST"
  runs veskaro-x11 env DISPLAY=:4242
  stops "VESKARO.LST linked to PAGE.DAT" VESKARO.LST PAGE.DAT
  [ -s "$dir/PAGE.DAT" ] || fail "PAGE.DAT overwritten"
fi

# A frame definition of one plot per page and one curve per plot.
layout="$(printf '%55s%11s%4s' 1 1 1.0)"
control="$(printf '%11s%11s%11s%11s%11s%11s' 1 0 0 0 0 0)"

# 10,001 plots and the start page: 10,002 pages.
fresh pages
awk -v l="$layout" -v c="$control" 'BEGIN {
  print l "\n" c "\nX\nY"
  for (i = 1; i <= 10001; i++) print "Plot " i "\n\n\n"
}' >"$dir/VESKARO.INP"
awk 'BEGIN { for (i = 1; i <= 10001; i++) print "C\n          1          1\n          2          2\n" }' \
  >"$dir/VESKARO.CUR"
runs veskaro-ps
[ "$status" -eq 0 ] || fail "10,002 pages: exit status $status"
[ "$(find "$dir" -name 'PLOT*.ps' | wc -l)" -eq 10002 ] ||
  fail "10,002 pages: $(find "$dir" -name 'PLOT*.ps' | wc -l) files"
[ -e "$dir/PLOT10002.ps" ] && [ ! -e "$dir/PLOT0000.ps" ] ||
  fail "file numbers do not carry on past 9999"
runs veskaro-ps1
[ "$status" -eq 0 ] || fail "10,002 pages in one file: exit status $status"
grep -qx '%%Page: 999 999' "$dir/PLOT0001.ps" &&
  grep -qx '%%Page:10002 10002' "$dir/PLOT0001.ps" ||
  fail "page comments run their numbers together"
echo "ok: 10,002 pages"

# A curve of 10,000,003 points: the store takes 10,000,000, the run goes
# on and the terminal says what was cut.
fresh long
printf '%s\n' "$layout" "$control" X Y Long "" "" "" >"$dir/VESKARO.INP"
{ echo Long; head -n 10000003 < <(yes 3); printf '\nNext\n1\n2\n'; } \
  >"$dir/VESKARO.CUR"
runs veskaro-ps1
[ "$status" -eq 0 ] || fail "long curve: exit status $status"
grep -qF 'VESKARO.CUR: curve 1 ("Long") is longer than the store of 10000000 points; 3 of its points were not read' \
  "$dir/stderr.txt" || fail "long curve: $(cat "$dir/stderr.txt")"
grep -q "End of Run" "$dir/VESKARO.LST" || fail "long curve: listing unfinished"
echo "ok: a curve longer than the store"
