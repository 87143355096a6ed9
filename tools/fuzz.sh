#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# on its seed corpus. Any crash, hang, leak or sanitizer report fails the
# script; the input that caused it is kept in the work folder.
#
#   bash tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
src=$(pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(inp cur pnt chr sym page)
build=${FUZZ_BUILD:-$src/build-fuzz}
work=${FUZZ_WORK:-$src/tests/fuzz/corpus-work}
jobs=${FUZZ_JOBS:-4}

cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVESKARO_FUZZ=ON -DVESKARO_TESTS=OFF \
  -DVESKARO_X11=OFF -DVESKARO_WERROR="${VESKARO_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j "$jobs" --target \
  "${targets[@]/#/fuzz_}" >/dev/null

run_one() {  # run_one TARGET
  local t=$1 dir=$work/$1
  mkdir -p "$dir/corpus" "$dir/artifacts"
  # Messages of the field parser go to standard output: drop them.
  if "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2560 -close_fd_mask=1 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/" "$dir/corpus" \
    "$src/tests/fuzz/corpus/$t" >"$dir/log" 2>&1; then
    echo "fuzz_$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' \
      "$dir/log" | grep -o '[0-9]*$') runs, nothing found"
  else
    echo "fuzz_$t: FAILED, see $dir/log and $dir/artifacts/" >&2
    grep -E 'ERROR|SUMMARY|runtime error|non-number' "$dir/log" | head -5 >&2
    return 1
  fi
}

pids=()
status=0
for t in "${targets[@]}"; do
  run_one "$t" &
  pids+=($!)
  # At most $jobs fuzzers at a time.
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
