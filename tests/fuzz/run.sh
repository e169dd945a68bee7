#!/usr/bin/env bash
# Builds the fuzz harnesses (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer with float-divide-by-zero), makes the seed corpus
# from the examples, replays every kept regression input, then runs each
# harness for FUZZ_SECONDS seconds (default 15).
#   tests/fuzz/run.sh [harness...]     (default: every harness)
# A crash fails the run; its input is left in $BUILD/fuzz-work/crashes. Keep
# it as a regression by copying it to tests/fuzz/regressions/<harness>/ (gzip
# the large data files: inputs ending in .gz are unpacked before replay).
set -euo pipefail
cd "$(dirname "$0")/../.."

BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-15}
JOBS=${JOBS:-$(nproc)}
ALL=(plane_file height_file plane_draft height_side zone_file transform_file local_file exercise_file
     input_text vec sheet_settings draw_command statistics_flags)
HARNESSES=("$@")
[ $# -eq 0 ] && HARNESSES=("${ALL[@]}")

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQUORVEX_FUZZ=ON -DQUORVEX_BUILD_TESTS=OFF >/dev/null
targets=(fuzz_seed_maker)
for h in "${HARNESSES[@]}"; do targets+=("${h}_fuzzer"); done
cmake --build "$BUILD" -j "$JOBS" --target "${targets[@]}"

work=$BUILD/fuzz-work
rm -rf "$work/seeds" "$work/regressions" "$work/crashes"
mkdir -p "$work/crashes"
# The harnesses write their data files over and over: keep them in memory when
# we can, in a folder of this run that goes away with it (a crashing harness
# leaves its scratch folder behind).
base=${TMPDIR:-/tmp}
[ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
TMPDIR=$(mktemp -d "$base/quorvex-fuzz-run.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$BUILD/tests/fuzz/fuzz_seed_maker" "$work/seeds" >/dev/null

failed=()
for h in "${HARNESSES[@]}"; do
  bin=$BUILD/tests/fuzz/${h}_fuzzer
  # The kept crashes first: each must now pass.
  kept=tests/fuzz/regressions/$h
  if [ -d "$kept" ] && [ -n "$(ls -A "$kept")" ]; then
    replay=$work/regressions/$h
    mkdir -p "$replay"
    for f in "$kept"/*; do
      case "$f" in
        *.gz) gzip -dc "$f" >"$replay/$(basename "${f%.gz}")" ;;
        *) cp "$f" "$replay/" ;;
      esac
    done
    if ! "$bin" -runs=1 "$replay"/* >"$work/$h.replay.log" 2>&1; then
      echo "FAIL $h: a kept regression input crashes again (see $work/$h.replay.log)"
      grep -E "^Running:|invariant broken|ERROR|runtime error|SUMMARY" "$work/$h.replay.log" | head -n 20 || true
      failed+=("$h")
      continue
    fi
  fi
  corpus=$work/corpus/$h
  mkdir -p "$corpus"
  seeds=$work/seeds/$h
  mkdir -p "$seeds"
  if "$bin" -max_total_time="$SECONDS_EACH" -timeout=30 -rss_limit_mb=3072 -print_final_stats=1 \
       -artifact_prefix="$work/crashes/$h-" "$corpus" "$seeds" >"$work/$h.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$h.log" | tail -n 1)
    echo "ok   $h: ${runs:-?} runs in ${SECONDS_EACH}s"
  else
    echo "FAIL $h: see $work/$h.log; the input is in $work/crashes/"
    grep -E "ERROR|invariant broken|runtime error|SUMMARY" "$work/$h.log" | head -n 5 || true
    failed+=("$h")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}"
  exit 1
fi
echo "fuzzing: every harness ran clean"
