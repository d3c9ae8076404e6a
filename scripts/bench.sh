#!/usr/bin/env bash
# Builds the benchmarks optimised and runs each; every one prints its ratio against a baseline.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$repo/scripts/deps.sh" test
build="$repo/build-bench"  # its own optimised build, apart from run.sh's
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCANTORIA_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
status=0
missed=()
for b in "$build"/bench/*_bench; do
    echo "== $(basename "$b")"
    "$b" "$@" || { status=1; missed+=("$(basename "$b")"); }
done
if [ "$status" -ne 0 ]; then
    echo "bench: targets missed or benchmarks failed in ${missed[*]}" >&2
else
    echo "bench: every target met"
fi
exit $status
