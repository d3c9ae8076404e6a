#!/usr/bin/env bash
# Kills a process that keeps saving a large text file and song list 1,000 times (or as many as
# the first argument says) and checks after every kill that each file is whole and that the
# next start leaves nothing of the interrupted save behind. Sanitizer build, as the tests.
# Ends with the line "crash: K kills, W during writing, R during rename, D damaged"; fails
# unless D is 0 and at least a fifth of the kills hit a file being written or renamed.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$repo/scripts/deps.sh" test
build="$repo/build-test"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCANTORIA_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target crash_tests crash_child
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export CANTORIA_CRASH_KILLS="${1:-1000}"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
"$build/tests/crash_tests" --gtest_filter='CrashTest.EverySaveKilled*' | tee "$log" || status=$?
summary="$(grep '^crash: ' "$log" | tail -n 1 || true)"
if [ -z "$summary" ]; then
    echo "crash: no summary line; the test did not finish" >&2
    exit 1
fi
echo "$summary"
exit "$status"
