#!/usr/bin/env bash
# The command line of the three programs: --help and --version print their
# text, any other argument is refused with status 2, and none of them runs
# the job. Each is run in a folder holding a finished run, which must be
# left byte for byte as it was; veskaro-x11 runs with no display, so a
# connection attempt would show as its no-display failure.
set -euo pipefail
build=$1
src=$2
source "$src/tests/tools/e2e.bash"

progs=(veskaro-ps1 veskaro-ps)
[ -x "$build/programs/veskaro-pdf" ] && progs+=(veskaro-pdf veskaro-svg veskaro-png)
[ -x "$build/programs/veskaro-x11" ] && progs+=(veskaro-x11)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"

dir=$work/run
mkdir "$dir"
cp "$src"/examples/VESKARO.{INP,CUR,PNT} "$src"/data/{PLOT.CHR,PLOT.SYM,PAGE.DAT} \
  "$dir"/
(cd "$dir" && "$build/programs/veskaro-ps1" >/dev/null && mv PLOT0001.ps one.ps &&
  "$build/programs/veskaro-ps" >/dev/null) || fail "the finished run failed"
snapshot() {  # names, sizes, times and contents of every file in $dir
  (cd "$dir" && find . -printf '%p %s %T@ %m\n' | sort && md5sum ./*)
}
before=$(snapshot)

# check PROG EXPECTED-STATUS ARGS...: runs PROG in $dir, leaving its
# standard output and error in $out and $err.
check() {
  local prog=$1 want=$2 status=0
  shift 2
  (cd "$dir" && env -u DISPLAY "$build/programs/$prog" "$@" \
    >"$work/out" 2>"$work/err") || status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
  [ "$status" = "$want" ] ||
    fail "$prog $*: status $status, not $want; stderr: $err"
}

for prog in "${progs[@]}"; do
  check "$prog" 0 --help
  [ -z "$err" ] || fail "$prog --help wrote to standard error: $err"
  [[ $out == "Usage: $prog "* ]] || fail "$prog --help: no usage line: $out"
  needs=(PLOT.CHR PLOT.SYM data/ share/veskaro "current folder" "Exit status")
  [ "$prog" = veskaro-x11 ] && needs+=(PAGE.DAT 255)
  for word in "${needs[@]}"; do
    [[ $out == *"$word"* ]] || fail "$prog --help does not name $word"
  done

  check "$prog" 0 --version
  [ "$out" = "$prog (veskaro) $version" ] || fail "$prog --version: $out"
  [ -z "$err" ] || fail "$prog --version wrote to standard error: $err"

  # Anything else, also an option that is not alone, names the argument.
  for args in "mydeck.inp" "-h" "--help mydeck.inp" "--version --help"; do
    read -ra words <<<"$args"
    check "$prog" 2 "${words[@]}"
    [ -z "$out" ] || fail "$prog $args wrote to standard output: $out"
    [ "$(wc -l <"$work/err")" = 1 ] || fail "$prog $args: not one line: $err"
    bad=${words[0]}
    [ ${#words[@]} = 2 ] && bad=${words[1]}
    [[ $err == "veskaro: "*"'$bad'"*"takes no arguments"*"$prog --help"* ]] ||
      fail "$prog $args: $err"
  done

  # An argument with a line end, terminal controls or 100 KB of text is
  # named in one plain, short line.
  check "$prog" 2 "$(printf 'a\nb\033]0;t\a\033[2J')$(head -c 100000 /dev/zero | tr '\0' x)"
  [ "$(wc -l <"$work/err")" = 1 ] && [ "$(wc -c <"$work/err")" -lt 300 ] &&
    ! grep -q "$(printf '[\001-\037]')" <(tr -d '\n' <"$work/err") &&
    [[ $err == "veskaro: unexpected argument 'a?b?]0;t??[2Jxx"*"...'"* ]] ||
    fail "$prog with a hostile argument: $(head -c 300 "$work/err" | od -c | head)"

  # Help into a pipe closed before it is written: said, with status 2,
  # not a silent end by SIGPIPE.
  { sleep 0.3; status=0
    "$build/programs/$prog" --help 2>"$work/err" || status=$?
    echo "$status" >"$work/status"; } | true
  status=$(cat "$work/status")
  [ "$status" = 2 ] && grep -q "cannot write standard output" "$work/err" ||
    fail "$prog --help into a closed pipe: status $status: $(cat "$work/err")"

  # Text that cannot be written is no success.
  [ -w /dev/full ] || continue
  for option in --help --version; do
    status=0
    (cd "$dir" && env -u DISPLAY "$build/programs/$prog" "$option" \
      >/dev/full 2>"$work/err") || status=$?
    [ "$status" = 2 ] || fail "$prog $option >/dev/full: status $status"
    grep -q "cannot write standard output" "$work/err" ||
      fail "$prog $option >/dev/full: $(cat "$work/err")"
  done
done

[ "$(snapshot)" = "$before" ] || fail "the run's folder changed:
$(diff <(echo "$before") <(snapshot))"
echo "arguments of ${progs[*]}: help, version and refusals leave the folder alone"
