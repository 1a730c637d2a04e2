#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for SECONDS each (default 20),
# two at a time, starting from the seed corpus in tests/fuzz/corpus/<target>.
# New inputs go to build-fuzz/fuzz-corpus/<target> (kept between runs, so a
# longer run goes on where the last one stopped); an input that fails is
# saved as build-fuzz/fuzz-findings/<target>-crash-… and the script fails.
#   tests/fuzz/run_fuzzers.sh [SECONDS] [TARGET…]
set -uo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_list_reader fuzz_roster fuzz_sound_list fuzz_records fuzz_settings)
build=build-fuzz
jobs=${FUZZ_JOBS:-2}
mkdir -p "$build/fuzz-findings" "$build/fuzz-logs"

run_one() {
  local t=$1
  local corpus="$build/fuzz-corpus/$t"
  mkdir -p "$corpus"
  # -rss_limit_mb: ASan's shadow memory counts; -timeout: one input may not
  # take longer than this (a hang is a finding too).
  "$build/tests/fuzz/$t" "$corpus" "tests/fuzz/corpus/$t" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=8192 \
    -artifact_prefix="$build/fuzz-findings/$t-" -print_final_stats=1 \
    >"$build/fuzz-logs/$t.log" 2>&1
}

failed=()
pids=()
names=()
wait_first() {
  wait "${pids[0]}"
  local rc=$?
  local t=${names[0]}
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-logs/$t.log" | grep -o '[0-9]*$')
  if [ $rc -eq 0 ]; then
    echo "fuzz $t: ${runs:-?} inputs in ${seconds} s, no finding"
  else
    echo "fuzz $t: FAILED (exit $rc); log: $build/fuzz-logs/$t.log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*check failed|.*runtime error)' "$build/fuzz-logs/$t.log" | head -5
    grep -E 'Test unit written to' "$build/fuzz-logs/$t.log"
    failed+=("$t")
  fi
  pids=("${pids[@]:1}")
  names=("${names[@]:1}")
}

for t in "${targets[@]}"; do
  [ ${#pids[@]} -lt "$jobs" ] || wait_first
  run_one "$t" &
  pids+=($!)
  names+=("$t")
done
while [ ${#pids[@]} -gt 0 ]; do wait_first; done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]}. Reproduce with: $build/tests/fuzz/<target> <saved input>"
  exit 1
fi
