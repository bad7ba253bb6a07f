#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build at once, each for SECONDS on a copy
# of its seed corpus, and fails when one finds a fault; the input that
# caused it is left in the build folder and named in the output.
#   tests/fuzz/run_fuzzers.sh BUILD_DIR SECONDS [libFuzzer options...]
set -uo pipefail
src="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
seconds=$2
shift 2
targets=(blend_file options_file ports_file input_path command_line nsm_message)
# The targets' file folders (and fork mode's files) go in one temporary
# folder, in memory where possible, removed at the end even after a crash.
TMPDIR=$(mktemp -d /dev/shm/cadenzo-fuzz-runs-XXXXXX 2>/dev/null || mktemp -d)
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
runs="${FUZZ_RUNS:-$build/fuzz-runs}"  # where the corpus copies, logs and reproducers go

for t in "${targets[@]}"; do
  rm -rf "${runs:?}/$t"
  mkdir -p "$runs/$t/corpus"
  cp "$src/corpus/$t/"* "$runs/$t/corpus/"
  # A blend file is a 121776-byte image: longer inputs than libFuzzer's default.
  max_len=4096
  [ "$t" = blend_file ] && max_len=131072
  (cd "$runs/$t" && exec "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=$max_len \
      -print_final_stats=1 -artifact_prefix="$runs/$t/" "$@" corpus >log 2>&1) &
done
wait

failed=0
for t in "${targets[@]}"; do
  log="$runs/$t/log"
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  echo "$t: ${last:-no figures} (log: $log)"
  found=$(find "$runs/$t" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \))
  if [ -n "$found" ] || grep -qE 'ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|libFuzzer)' "$log"; then
    failed=1
    grep -E 'FUZZ INVARIANT BROKEN|still on|sent 0x|came back|ERROR: |runtime error|SUMMARY' "$log" | head -20 | sed "s/^/  $t: /"
    for f in $found; do echo "  $t: reproducer $f (replay: $build/tests/fuzz/fuzz_$t $f)"; done
  fi
done
[ $failed -eq 0 ] || { echo "Fuzzing found faults." >&2; exit 1; }
echo "Fuzzing found nothing in ${seconds} s per target."
