#!/usr/bin/env bash
# Builds every test under AddressSanitizer and UndefinedBehaviorSanitizer and runs them offscreen.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$repo/scripts/deps.sh" test
build="$repo/build-test"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCANTORIA_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
ctest --output-on-failure "$@"
