#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any of them is missing.
# Usage: scripts/deps.sh [run|test|package|fuzz]
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
          libjpeg62-turbo-dev libsqlite3-dev googletest libgtest-dev libbenchmark-dev librsvg2-bin
          libuchardet-dev qt6-translations-l10n libtag1-dev libfontconfig-dev)
case "${1:-run}" in
    test) packages+=(xvfb xauth strace dpkg-dev desktop-file-utils appstream lintian
                     poppler-utils libxml2-utils chordii ffmpeg python3-mutagen) ;;
    package) packages+=(dpkg-dev) ;;
    fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
