#!/usr/bin/env bash
# Checks the installation as the desktop, the software centre and Debian check it.
#   files:    the installed desktop entry and AppStream data pass their validators, and the
#             Debian package made by CPack holds exactly the expected files and passes lintian
#   launcher: the menu entry's command starts the program in $XDG_DATA_HOME/Cantoria
# Usage: package_test.sh files|launcher BUILD_DIR CMAKE CPACK
set -euo pipefail
mode=$1 build=$2 cmake=$3 cpack=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

check_files() {
    local report
    report=$(desktop-file-validate "$root/usr/share/applications/cantoria.desktop" 2>&1) ||
        fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate: $report"
    report=$(appstreamcli validate --no-net \
        "$root/usr/share/metainfo/io.github.cantoria.cantoria.metainfo.xml" 2>&1) ||
        fail "appstreamcli validate: $report"

    "$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/log" 2>&1 ||
        fail "cpack: $(cat "$scratch/log")"
    local debs=("$scratch"/package/cantoria_*_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no cantoria_<version>_<arch>.deb"
    local deb=${debs[0]}
    diff -u - <(dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' |
                sort) <<'EOF' || fail "the package's file list differs"
./usr/
./usr/bin/
./usr/bin/cantoria
./usr/bin/cantoria-launcher
./usr/share/
./usr/share/applications/
./usr/share/applications/cantoria.desktop
./usr/share/doc/
./usr/share/doc/cantoria/
./usr/share/doc/cantoria/changelog.gz
./usr/share/doc/cantoria/copyright
./usr/share/icons/
./usr/share/icons/hicolor/
./usr/share/icons/hicolor/256x256/
./usr/share/icons/hicolor/256x256/apps/
./usr/share/icons/hicolor/256x256/apps/cantoria.png
./usr/share/icons/hicolor/48x48/
./usr/share/icons/hicolor/48x48/apps/
./usr/share/icons/hicolor/48x48/apps/cantoria.png
./usr/share/icons/hicolor/scalable/
./usr/share/icons/hicolor/scalable/apps/
./usr/share/icons/hicolor/scalable/apps/cantoria.svg
./usr/share/man/
./usr/share/man/man1/
./usr/share/man/man1/cantoria-launcher.1.gz -> cantoria.1.gz
./usr/share/man/man1/cantoria.1.gz
./usr/share/metainfo/
./usr/share/metainfo/io.github.cantoria.cantoria.metainfo.xml
EOF
    # No maintainer scripts: removing the package deletes its own files and nothing else.
    [ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sort | xargs)" = "./control ./md5sums" ] ||
        fail "the package carries more than control and md5sums"
    command -v lintian >/dev/null || fail "lintian is not installed (scripts/deps.sh test installs it)"
    report=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian: $report"
}

# Starts the menu entry's command from an unrelated folder and waits for the catalogue that the
# program makes at start-up; the program runs until its window is closed, so it is stopped then.
start_from_menu() {
    local catalogue=$1
    mkdir -p "$scratch/elsewhere"
    (cd "$scratch/elsewhere" && exec "$root/usr/bin/cantoria-launcher") >"$scratch/log" 2>&1 &
    local pid=$! waited=0
    until [ -f "$catalogue/Data/performers.lrx" ] || [ $waited -ge 300 ]; do
        kill -0 $pid 2>/dev/null ||
            fail "the program ended before making $catalogue/Data: $(cat "$scratch/log")"
        sleep 0.1
        waited=$((waited + 1))
    done
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    [ -f "$catalogue/Data/performers.lrx" ] || fail "no catalogue in $catalogue"
    [ ! -e "$scratch/elsewhere/Data" ] || fail "a catalogue in the folder it was started from"
}

check_launcher() {
    export QT_QPA_PLATFORM=offscreen HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
    mkdir -p "$HOME"
    unset XDG_DATA_HOME
    start_from_menu "$HOME/.local/share/Cantoria"
    export XDG_DATA_HOME=$scratch/data
    start_from_menu "$XDG_DATA_HOME/Cantoria"
}

"check_$mode"
