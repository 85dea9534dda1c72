#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for SECONDS each, one after the
# other, and prints executions per second and coverage per target.
#
#   tests/fuzz/run.sh SECONDS [TARGET...]      e.g. tests/fuzz/run.sh 30 xml nmea
#
# Needs the fuzz preset built first:
#   cmake --preset fuzz && cmake --build --preset fuzz
# The seeds in tests/fuzz/corpus/<target>/ are only read; what the fuzzer
# learns goes to build-fuzz/corpus/<target>/ and is kept for the next run,
# a crashing input to build-fuzz/findings/<target>/. Exits non-zero when
# any target finds something. FUZZ_JOBS=N runs N targets at a time.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${ORVELA_FUZZ_BUILD:-$root/build-fuzz}"

if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
seconds="$1"
shift
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in "$here"/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ALSOFT_DRIVERS=null

# One target: its log, CPU time and summary line in $build/fuzz-<target>.*;
# exits non-zero when it found something.
run_one() {
  local t="$1"
  local bin="$build/fuzz/fuzz_$t"
  local work="$build/corpus/$t"
  local findings="$build/findings/$t"
  local log="$build/fuzz-$t.log"
  local cpu_file="$build/fuzz-$t.cpu"
  mkdir -p "$work" "$findings"
  echo "== $t: $seconds s" >&2
  local status=0
  # On a busy machine the seconds are wall-clock: the CPU time says how much
  # fuzzing they held.
  local TIMEFORMAT='%U %S'
  { time "$bin" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "$here/corpus/$t" >"$log" 2>&1 || status=$?; } 2>"$cpu_file"
  local cpu last cov ft runs speed
  cpu="$(awk '{ printf "%.0f", $1 + $2 }' "$cpu_file")"
  # The last status line has the coverage; the final statistics the speed.
  last="$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)"
  cov="$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")"
  ft="$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  speed="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
  if [ "$status" -ne 0 ]; then
    echo "!! $t found something (exit $status); log $log, input in $findings/" >&2
    grep -E 'ERROR|SUMMARY|runtime error' "$log" | head -n 5 >&2 || true
  fi
  printf '%-14s %6ss (%5ss CPU) %12s runs %8s exec/s  cov %6s  ft %6s  %s\n' "$t" "$seconds" \
    "$cpu" "${runs:-?}" "${speed:-?}" "${cov:-?}" "${ft:-?}" \
    "$([ "$status" -eq 0 ] && echo ok || echo FOUND)" >"$build/fuzz-$t.summary"
  return "$status"
}

for t in "${targets[@]}"; do
  if [ ! -x "$build/fuzz/fuzz_$t" ]; then
    echo "no fuzz target $build/fuzz/fuzz_$t (build the fuzz preset)" >&2
    exit 2
  fi
done

# FUZZ_JOBS targets at a time (1 unless set), each on its own core.
jobs_max="${FUZZ_JOBS:-1}"
declare -A pid_of
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; do wait -n || true; done
  run_one "$t" &
  pid_of[$t]=$!
done
failed=()
for t in "${targets[@]}"; do
  wait "${pid_of[$t]}" || failed+=("$t")
done

for t in "${targets[@]}"; do cat "$build/fuzz-$t.summary"; done
if [ ${#failed[@]} -gt 0 ]; then
  echo "findings in: ${failed[*]}" >&2
  exit 1
fi
