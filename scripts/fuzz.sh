#!/usr/bin/env bash
# Builds the libFuzzer binaries with clang (AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs each fuzz target for the given number of seconds on its committed corpus, one job at a
# time. New inputs go to a scratch folder beside the build, never into the committed corpus;
# crashes are written there too and listed at the end (move them to fuzz/regressions/<target>/
# once mended).
# To take the new inputs that add coverage into the committed corpus, deliberately:
#   build-fuzz/fuzz/fuzz_<target> -merge=1 -use_counters=0 fuzz/corpus/<target> \
#       build-fuzz/fuzz-out/<target>/new
# Usage: scripts/fuzz.sh [seconds-per-target] [target...]
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] ||
    targets=(line_reader rtf_reader settings cp1251 line_roundtrip lyric_encoding search_query
             model_roundtrip openlyrics_reader chordpro_reader chord_lines)

"$repo/scripts/deps.sh" fuzz
build="$repo/build-fuzz"
cmake -S "$repo" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 \
      -DCMAKE_CXX_FLAGS="-O1 -g" -DCANTORIA_FUZZ=ON -DCANTORIA_TESTS=OFF \
      -DCANTORIA_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzzers -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scratch="$build/fuzz-out"
summary=()
status=0
for t in "${targets[@]}"; do
    corpus=("$repo/fuzz/corpus/$t")
    [ "$t" = rtf_reader ] && corpus+=("$repo/tests/data/rtf")
    mkdir -p "$scratch/$t/new" "$scratch/$t/crashes"
    log="$scratch/$t/log.txt"
    echo "== $t: ${seconds}s"
    set +e
    "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -rss_limit_mb=1024 -max_len=16384 -artifact_prefix="$scratch/$t/crashes/" \
        "$scratch/$t/new" "${corpus[@]}" >"$log" 2>&1
    rc=$?
    set -e
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    crashes=$(find "$scratch/$t/crashes" -type f | wc -l)
    [ "$rc" -eq 0 ] || status=1
    summary+=("$(printf '%-15s %12s executions  %3s crash inputs  exit %s' "$t" "$runs" "$crashes" "$rc")")
done
echo
printf '%s\n' "${summary[@]}"
find "$scratch" -path '*/crashes/*' -type f -newer "$build/CMakeCache.txt" -printf '  %p\n' || true
exit $status
