#!/usr/bin/env bash
# Builds an optimised Cantoria and makes its Debian package with CPack in the directory this is
# called from: cantoria_<version>_<arch>.deb. Install it with: apt-get install ./cantoria_*.deb
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$repo/scripts/deps.sh" package
build="$repo/build-package"  # its own release build, apart from run.sh's
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DCANTORIA_TESTS=OFF -DCANTORIA_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/packages"
cpack --config "$build/CPackConfig.cmake" -B "$build/packages"
deb=("$build"/packages/cantoria_*.deb)
cp "${deb[@]}" .
echo "Made $(basename "${deb[0]}")"
