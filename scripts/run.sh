#!/usr/bin/env bash
# Builds Cantoria and starts it in the current working directory (its Data/ lives there).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$repo/scripts/deps.sh" run
cmake -S "$repo" -B "$repo/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$repo/build" --target cantoria -j"$(nproc)"
exec "$repo/build/app/cantoria" "$@"
