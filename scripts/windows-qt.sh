#!/bin/sh
# Prints the folder of Qt for Windows that the Windows build links against, getting it first when
# needed: from the cache under ~/.cache/korvid/ (one folder per Qt version and configure options),
# else unpacked from a prebuilt archive of the same recipe, else built from Debian's own source.
#
#   scripts/windows-qt.sh                        the cached Qt, got the first time
#   scripts/windows-qt.sh --key                  the cache key only
#   scripts/windows-qt.sh --from-source PREFIX   builds Qt from source into PREFIX, cache or not
#
# KORVID_QT_WINDOWS_ARCHIVE names the prebuilt archive (by default ../shared/tools/ beside the
# project); set it to an empty value to build from source.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

QT_VERSION=6.4.2
# The Windows platform plugin needs the tablet header that Debian's source leaves out, and does not
# compile with dynamic OpenGL while OpenGL is off. Everything Korvid does not use stays out.
QT_OPTIONS="-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
-DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_opengl=OFF
-DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF -DINPUT_libpng=qt -DINPUT_libjpeg=qt
-DINPUT_pcre=qt -DINPUT_harfbuzz=qt -DINPUT_freetype=qt -DFEATURE_system_doubleconversion=OFF"

say() { echo "windows-qt: $*" >&2; }

cache_key() {
    printf '%s\n%s\n' "$QT_VERSION" "$QT_OPTIONS" | sha256sum | cut -c1-12
}

# Debian's qt6-base source of the version the Linux build uses, downloaded through a private apt
# state so that the system's own sources and lists stay as they are.
fetch_source() {
    work=$1
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
    case "$version" in
        "$QT_VERSION"+*) ;;
        *) say "qt6-base-dev $QT_VERSION is not installed (found '${version:-nothing}'); run scripts/setup.sh"; exit 1 ;;
    esac
    apt_state=$work/apt
    mkdir -p "$apt_state/sources.list.d" "$apt_state/lists/partial"
    : > "$apt_state/sources.list.d/debian-src.sources"
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] || continue
        # Only the stanzas of Debian's own archive, each as a source stanza.
        awk 'BEGIN { RS = ""; ORS = "\n\n" }
             /URIs:[^\n]*debian\.org\/debian/ && /Types:[^\n]*deb/ {
                 sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$sources" \
            >> "$apt_state/sources.list.d/debian-src.sources"
    done
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's|^deb \(.*debian\.org/debian.*\)|deb-src \1|p' /etc/apt/sources.list > "$apt_state/sources.list.d/debian-src.list"
    fi
    set -- -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_state/sources.list.d" \
        -o Dir::State::Lists="$apt_state/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= \
        -o Debug::NoLocking=1
    [ "$(id -u)" -eq 0 ] && set -- "$@" -o APT::Sandbox::User=root
    apt-get "$@" update >&2
    (cd "$work" && apt-get "$@" source --download-only "qt6-base=$version" >&2)
    rm -rf "$work/qtbase-everywhere-src-$QT_VERSION"
    tar -xJf "$work"/qt6-base_"$QT_VERSION"+dfsg.orig.tar.xz -C "$work"
}

build_from_source() {
    prefix=$1
    work=${KORVID_QT_WORK:-${XDG_CACHE_HOME:-$HOME/.cache}/korvid/qt6-windows-$QT_VERSION-work}
    mkdir -p "$work"
    say "building Qt $QT_VERSION for Windows from Debian's source in $work (about an hour on 2 cores)"
    started=$(date +%s)
    fetch_source "$work"
    rm -rf "$work/build"
    # shellcheck disable=SC2086
    cmake -G Ninja -S "$work/qtbase-everywhere-src-$QT_VERSION" -B "$work/build" \
        -DCMAKE_TOOLCHAIN_FILE="$root/scripts/mingw-toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$prefix" $QT_OPTIONS >&2
    nice -n 19 ninja -C "$work/build" -j "${JOBS:-2}" >&2
    ninja -C "$work/build" install >&2
    find "$prefix" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
    say "Qt built in $(( ($(date +%s) - started) / 60 )) minutes"
    rm -rf "$work"
}

case "${1:-}" in
    --key) cache_key; exit 0 ;;
    --from-source)
        [ $# -eq 2 ] || { say "usage: $0 --from-source PREFIX"; exit 2; }
        mkdir -p "$2"
        build_from_source "$(cd "$2" && pwd)"
        exit 0 ;;
    "") ;;
    *) say "usage: $0 [--key | --from-source PREFIX]"; exit 2 ;;
esac

cache=${XDG_CACHE_HOME:-$HOME/.cache}/korvid/qt6-windows-$QT_VERSION-$(cache_key)
if [ ! -f "$cache/korvid-qt.complete" ]; then
    archive=${KORVID_QT_WINDOWS_ARCHIVE-$root/../shared/tools/qt6-windows-$QT_VERSION-mingw64.tar.xz}
    # Built or unpacked beside its place and moved there whole: a broken run leaves no half a Qt.
    partial=$cache.partial
    rm -rf "$partial"
    mkdir -p "$partial"
    if [ -n "$archive" ] && [ -f "$archive" ]; then
        say "unpacking $archive"
        tar -xJf "$archive" -C "$partial"
        origin="archive $(basename "$archive")"
    else
        build_from_source "$partial"
        origin="built from Debian's source"
    fi
    # Qt's CMake files find each other relative to themselves, so the moved folder works as is.
    printf 'Qt %s for Windows, %s\nconfigure options: %s\n' "$QT_VERSION" "$origin" "$QT_OPTIONS" \
        > "$partial/korvid-qt.complete"
    rm -rf "$cache"
    mv "$partial" "$cache"
fi
echo "$cache"
