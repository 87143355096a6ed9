#!/usr/bin/env bash
# Installs the build folder into a fresh prefix and checks what a user
# gets: the programs, the fonts and captions, the example deck without the
# outputs a run of it leaves, the README and the manual page under each
# program's name. The installed programs, run on the installed deck with
# the installed fonts in a folder of their own, must give the very files
# and terminal output that the build's programs give with the source's.
set -euo pipefail
build=$1
src=$2
source "$src/tests/tools/e2e.bash"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  fail "cmake --install failed: $(cat "$work/install.log")"

share=share/veskaro
want=(bin/veskaro-ps1 bin/veskaro-ps share/doc/veskaro/README.md
  share/man/man1/veskaro-ps1.1 share/man/man1/veskaro-ps.1
  $share/PLOT.CHR $share/PLOT.SYM $share/PAGE.DAT)
for file in VESKARO.INP VESKARO.CUR VESKARO.PNT PLOT.CHR PLOT.SYM PAGE.DAT; do
  want+=("$share/examples/$file")
done
progs=(veskaro-ps1 veskaro-ps)
if [ -x "$build/programs/veskaro-pdf" ]; then
  progs+=(veskaro-pdf veskaro-svg veskaro-png)
  for prog in veskaro-pdf veskaro-svg veskaro-png; do
    want+=("bin/$prog" "share/man/man1/$prog.1")
  done
fi
if [ -x "$build/programs/veskaro-x11" ]; then
  want+=(bin/veskaro-x11 share/man/man1/veskaro-x11.1)
fi
installed=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
[ "$installed" = "$(printf '%s\n' "${want[@]}" | sort)" ] ||
  fail "installed files differ from those expected:
$(diff <(printf '%s\n' "${want[@]}" | sort) <(echo "$installed"))"
for font in PLOT.CHR PLOT.SYM PAGE.DAT; do
  cmp -s "$src/data/$font" "$prefix/$share/$font" &&
    cmp -s "$src/data/$font" "$prefix/$share/examples/$font" ||
    fail "installed $font is not the one in data/"
done

# run DIR PROGRAM: runs PROGRAM in DIR, keeping its terminal output and
# exit status there with its files.
run() {
  local status=0
  (cd "$1" && "$2" >stdout.txt 2>stderr.txt) || status=$?
  echo "$status" >"$1/status.txt"
}
for prog in "${progs[@]}"; do
  mkdir "$work/built-$prog" "$work/installed-$prog"
  cp "$src"/examples/VESKARO.{INP,CUR,PNT} "$src"/data/PLOT.{CHR,SYM} \
    "$work/built-$prog"/
  cp "$prefix/$share"/examples/VESKARO.{INP,CUR,PNT} \
    "$prefix/$share"/PLOT.{CHR,SYM} "$work/installed-$prog"/
  run "$work/built-$prog" "$build/programs/$prog"
  run "$work/installed-$prog" "$prefix/bin/$prog"
  grep -q "End of Run" "$work/installed-$prog/VESKARO.LST" ||
    fail "installed $prog: no closing line"
  diff -r "$work/built-$prog" "$work/installed-$prog" >"$work/diff" ||
    fail "installed $prog differs from the build's: $(head -20 "$work/diff")"
done

# The page renders without a warning, and man finds it under each name.
page=$prefix/share/man/man1/veskaro-ps1.1
warnings=$(groff -man -ww -Tutf8 "$page" 2>&1 >/dev/null) ||
  fail "groff failed on $page: $warnings"
[ -z "$warnings" ] || fail "groff warns on $page: $warnings"
if command -v man >/dev/null; then
  for prog in "${want[@]}"; do
    [[ $prog == bin/* ]] || continue
    prog=${prog#bin/}
    text=$(MANPAGER=cat MANWIDTH=80 man -M "$prefix/share/man" "$prog" 2>&1) ||
      fail "man $prog: $text"
    [[ $text == *NAME*"$prog"*SYNOPSIS*"FILES"*"EXIT STATUS"* ]] ||
      fail "man $prog does not show the page: $text"
  done
else
  echo "no man: the page names are not looked up"
fi
echo "installed into a fresh prefix: files, runs and manual page as built"
