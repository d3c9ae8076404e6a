#!/usr/bin/env bash
# Kills a process that keeps saving a large text file and song list 1,000 times (or as many as
# the first argument says) and checks after every kill that each file is whole and that the
# next start leaves nothing of the interrupted save behind. Sanitizer build, as the tests.
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
"$build/tests/crash_tests" --gtest_filter='CrashTest.EverySaveKilled*'
