#!/usr/bin/env bash
# Screen dumps: the device runs "import -rotate 90 SCREEN.<n>" and waits
# for it. Without -window, import grabs the server until the user picks a
# window; xgrabclick answers that pick. With a wrapper that adds
# "-window root" the dumps need no click.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
SRC=$(cd "$2" && pwd)
source "$SRC/tests/tools/x11_e2e.bash"

start_xvfb 1280x1024x24
mkdir "$WORK/pick" "$WORK/root" "$WORK/bin"

# Runs the device driver in folder $1 on the commands of standard input.
drive() {
  (cd "$1" && timeout 120 "$BUILD/tests/tools/x11_devdrive" >out 2>err)
}

# The picked window: the helper must be connected before the dump begins
# (a client connecting during the grab waits for its end). It clicks for
# as long as the grab lasts and is stopped once the driver is through.
"$BUILD/tests/tools/xgrabclick" 640 500 300 >"$WORK/click.log" 2>&1 &
CLICKER=$!
for _ in $(seq 600); do
  if grep -q ready "$WORK/click.log"; then break; fi
  kill -0 "$CLICKER" 2>/dev/null || fail "helper: $(cat "$WORK/click.log")"
  sleep 0.1
done
grep -q ready "$WORK/click.log" || fail "helper not ready"
printf '%s\n' open "box 2 10 2 8 0 2" "say drawn" printit "say dumped" close |
  drive "$WORK/pick" || fail "driver: $(cat "$WORK/pick/err")"
kill "$CLICKER" 2>/dev/null || true
wait "$CLICKER" 2>/dev/null || true
grep -q clicked "$WORK/click.log" || fail "no click: $(cat "$WORK/click.log")"
grep -q dumped "$WORK/pick/out" || fail "the dump did not end"
[ -s "$WORK/pick/SCREEN.1" ] || fail "no SCREEN.1: $(ls "$WORK/pick")"

# The whole screen, numbered on: SCREEN.1 and SCREEN.2.
cat >"$WORK/bin/import" <<'WRAP'
#!/bin/sh
exec /usr/bin/import -window root "$@"
WRAP
chmod +x "$WORK/bin/import"
printf '%s\n' open printit printit "say dumped" close |
  PATH="$WORK/bin:$PATH" drive "$WORK/root" ||
  fail "driver: $(cat "$WORK/root/err")"
grep -q dumped "$WORK/root/out" || fail "the dumps did not end"
[ -s "$WORK/root/SCREEN.1" ] && [ -s "$WORK/root/SCREEN.2" ] ||
  fail "dumps missing: $(ls "$WORK/root")"
[ ! -e "$WORK/root/SCREEN.3" ] || fail "one dump too many"

# A parent that leaves SIGCHLD ignored: the program takes the default back,
# so the dump's command is waited for and a dump that was made is not
# reported as not written. A SCREEN.1 left from earlier as a link to an
# input is replaced by the picture; the input is not touched.
mkdir "$WORK/nochld"
menu_deck "$WORK/nochld" 1
cp "$WORK/nochld/VESKARO.CUR" "$WORK/curves"
ln -s VESKARO.CUR "$WORK/nochld/SCREEN.1"
# shellcheck disable=SC2016
(cd "$WORK/nochld" && PATH="$WORK/bin:$PATH" exec timeout 120 \
  perl -e '$SIG{CHLD} = "IGNORE"; exec @ARGV or die "$ARGV[0]: $!"' \
  "$BUILD/programs/veskaro-x11" >out 2>err) &
PROGRAM=$!
RUNDIR=$WORK/nochld
wait_for_window
shot "$WORK/start.rgb"
click_at 6 5
wait_redrawn "$WORK/start.rgb" "$WORK/menu.rgb"
pick_option 25
for _ in $(seq 100); do [ -s "$RUNDIR/SCREEN.1" ] && break; sleep 0.1; done
pick_option 36
rc=0
wait "$PROGRAM" || rc=$?
[ "$rc" = 0 ] && [ -s "$RUNDIR/SCREEN.1" ] && [ ! -s "$RUNDIR/err" ] ||
  fail "SIGCHLD ignored: status $rc: $(cat "$RUNDIR/err")"
[ ! -L "$RUNDIR/SCREEN.1" ] && cmp -s "$RUNDIR/VESKARO.CUR" "$WORK/curves" ||
  fail "a stale SCREEN.1 link: the dump went through it"

# A dump that is not made is reported by one line and the run goes on:
# no capture program, one that fails, one cancelled with Ctrl-C while it
# waits for its click, and one killed. One that fails after writing part
# of its file leaves no file behind; a file of that name the failed
# command did not touch stays.
mkdir "$WORK/none" "$WORK/fail" "$WORK/failbin" "$WORK/partial" \
  "$WORK/partbin"
printf '%s\n' open printit "say goes on" close |
  (cd "$WORK/none" && timeout 120 env PATH="$WORK/failbin" \
    "$BUILD/tests/tools/x11_devdrive" >out 2>err) ||
  fail "driver: $(cat "$WORK/none/err")"
cat >"$WORK/failbin/import" <<'FAKE'
#!/bin/sh
case $3 in
SCREEN.1) exit 3 ;;
SCREEN.2) kill -INT $$ ;;
*) kill -KILL $$ ;;
esac
FAKE
chmod +x "$WORK/failbin/import"
printf '%s\n' open printit printit printit "say goes on" close |
  PATH="$WORK/failbin:$PATH" drive "$WORK/fail" ||
  fail "driver: $(cat "$WORK/fail/err")"
cat >"$WORK/partbin/import" <<'FAKE'
#!/bin/sh
[ "$3" = SCREEN.2 ] || printf '%%!PS-Adobe-3.0\n%%%%Pages' >"$3"
exit 1
FAKE
chmod +x "$WORK/partbin/import"
echo "last run's dump" >"$WORK/partial/SCREEN.2"
printf '%s\n' open printit printit "say goes on" close |
  PATH="$WORK/partbin:$PATH" drive "$WORK/partial" ||
  fail "driver: $(cat "$WORK/partial/err")"
[ ! -e "$WORK/partial/SCREEN.1" ] || fail "a partial SCREEN.1 is left"
[ "$(cat "$WORK/partial/SCREEN.2")" = "last run's dump" ] ||
  fail "a file the failed dump did not write is gone or changed"
grep -q "goes on" "$WORK/none/out" && grep -q "goes on" "$WORK/fail/out" &&
  grep -q "goes on" "$WORK/partial/out" ||
  fail "the run stopped at a failed dump"
diff - <(grep veskaro: "$WORK/none/err" "$WORK/fail/err" \
  "$WORK/partial/err") <<LINES ||
$WORK/none/err:veskaro: screen dump SCREEN.1 not written: import exited with status 127 (command not found)
$WORK/fail/err:veskaro: screen dump SCREEN.1 not written: import exited with status 3
$WORK/fail/err:veskaro: screen dump SCREEN.2 not written: cancelled (Ctrl-C)
$WORK/fail/err:veskaro: screen dump SCREEN.3 not written: import was ended by signal 9 (Killed)
$WORK/partial/err:veskaro: screen dump SCREEN.1 not written: import exited with status 1
$WORK/partial/err:veskaro: screen dump SCREEN.2 not written: import exited with status 1
LINES
  fail "failed dumps: $(cat "$WORK/none/err" "$WORK/fail/err" \
    "$WORK/partial/err")"

# A failed dump whose partial picture filled the disk, with standard error
# on that disk: its folder is gone before the line is written, so the
# line is there.
if [ "$(id -u)" = 0 ] && mkdir "$WORK/full" &&
  mount -t tmpfs -o size=256k tmpfs "$WORK/full" 2>/dev/null; then
  cat >"$WORK/partbin/import" <<'FAKE'
#!/bin/sh
cat /dev/zero >"$3" 2>/dev/null
exit 1
FAKE
  printf '%s\n' open printit close |
    PATH="$WORK/partbin:$PATH" drive "$WORK/full" || true
  line=$(cat "$WORK/full/err")
  umount "$WORK/full"
  [ "$line" = "veskaro: screen dump SCREEN.1 not written: import exited with status 1" ] ||
    fail "a dump that filled the disk: standard error held: $line"
fi
echo ok
