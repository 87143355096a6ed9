#!/usr/bin/env bash
# Without a reachable display the screen device writes its one message on
# standard error and the program ends with status 255 (exit code -1).
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$SRC/tests/tools/x11_e2e.bash"

check() {
  local name=$1 want=$2
  shift 2
  local rc=0
  "$@" >"$WORK/out" 2>"$WORK/err" || rc=$?
  [ "$rc" = 255 ] || fail "$name: exit status $rc, expected 255"
  [ ! -s "$WORK/out" ] || fail "$name: wrote to standard output"
  printf '%s\n' "$want" | cmp -s - "$WORK/err" ||
    fail "$name: standard error was: $(cat "$WORK/err")"
}

cd "$WORK"
# No display named at all, and a display nobody serves.
check "no DISPLAY" "VIMDERA(xpinit):  Could not open display ''!!!" \
  env -u DISPLAY "$BUILD/tests/tools/x11_devdrive" <<<"open"
check "dead display" "VIMDERA(xpinit):  Could not open display ':4242'!!!" \
  env DISPLAY=:4242 "$BUILD/tests/tools/x11_devdrive" <<<"open"

# The program itself, on the shipped example.
cp "$SRC"/examples/VESKARO.{INP,CUR,PNT} "$SRC"/data/PLOT.{CHR,SYM} \
  "$SRC"/data/PAGE.DAT "$WORK/"
check "veskaro-x11" "VIMDERA(xpinit):  Could not open display ':4242'!!!" \
  env DISPLAY=:4242 "$BUILD/programs/veskaro-x11"
echo "ok"
