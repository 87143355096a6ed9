#!/usr/bin/env bash
# tools/setup.sh run by an ordinary user on a machine without cmake and
# ninja stops before building, names the missing packages and the apt-get
# line that installs them.
set -euo pipefail
src=$2
source "$src/tests/tools/e2e.bash"

# A checkout holding only the script, and a PATH with a compiler and
# apt-get but neither cmake nor ninja.
mkdir -p "$work/repo/tools" "$work/bin"
cp "$src/tools/setup.sh" "$work/repo/tools/"
for tool in g++ apt-get; do
  if command -v "$tool" >/dev/null; then
    ln -s "$(command -v "$tool")" "$work/bin/$tool"
  fi
done
chmod -R a+rwX "$work"

as_user=()
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
status=0
"${as_user[@]}" env PATH="$work/bin" /bin/bash "$work/repo/tools/setup.sh" \
  >"$work/stdout.txt" 2>"$work/stderr.txt" || status=$?

[ "$status" -eq 1 ] || fail "exit status $status, not 1: $(cat "$work/stderr.txt")"
grep -q "missing build packages: cmake ninja-build" "$work/stderr.txt" ||
  fail "missing packages not named: $(cat "$work/stderr.txt")"
if [ -e "$work/bin/apt-get" ]; then
  grep -q "apt-get install -y cmake ninja-build" "$work/stderr.txt" ||
    fail "no install line: $(cat "$work/stderr.txt")"
fi
[ ! -e "$work/repo/build" ] || fail "a build was started"
echo "ok: setup names cmake and ninja-build and stops"
