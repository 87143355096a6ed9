#!/usr/bin/env bash
# A full disk under the listing or a PostScript file stops the run with a
# message naming the file and a non-zero exit status; no run reports
# success with a short file. /dev/full stands in for the full disk.
set -euo pipefail
build=$1
src=$2
source "$src/tests/tools/e2e.bash"

[ -w /dev/full ] || { echo "no /dev/full: skipped"; exit 0; }

# expect_stop PROGRAM FILE: runs PROGRAM on the examples with FILE on
# /dev/full and checks status and message.
expect_stop() {
  local prog=$1 file=$2 dir=$work/$1-$2 status=0
  mkdir -p "$dir"
  cp "$src"/examples/VESKARO.{INP,CUR,PNT} "$dir"/
  cp "$src"/data/PLOT.CHR "$src"/data/PLOT.SYM "$dir"/
  ln -s /dev/full "$dir/$file"
  (cd "$dir" && timeout 60 "$build/programs/$prog" >stdout.txt 2>stderr.txt) ||
    status=$?
  [ "$status" -ne 0 ] || fail "$prog with $file on a full disk exited 0"
  [ "$status" -ne 124 ] || fail "$prog with $file on a full disk hung"
  grep -q "$file" "$dir/stderr.txt" ||
    fail "$prog: message does not name $file: $(cat "$dir/stderr.txt")"
  if [ "$file" != VESKARO.LST ] && grep -q "End of Run" "$dir/VESKARO.LST"; then
    fail "$prog: the listing claims a finished run"
  fi
  echo "ok: $prog stops on a full $file (status $status)"
}

for prog in veskaro-ps1 veskaro-ps; do
  expect_stop "$prog" VESKARO.LST
  expect_stop "$prog" PLOT0001.ps
done
# The second page's file of the file-per-page program.
expect_stop veskaro-ps PLOT0002.ps
