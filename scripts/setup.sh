#!/bin/sh
# Installs the Debian packages that building, testing and running Korvid need; with the argument
# "windows", also those of the Windows build (`make windows`, `make test-windows`): Wine, a window
# manager for its windows, Ninja and the tools to fetch and unpack Qt's source.
# Does nothing when all of them are present; never asks a question.
set -eu

packages="
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev
    fonts-dejavu-core
    xvfb xauth xdotool x11-utils imagemagick
    xdg-utils shared-mime-info desktop-file-utils libfile-mimeinfo-perl
    clang libclang-rt-14-dev
    dpkg-dev file
    g++-mingw-w64-x86-64-posix
"
if [ "${1:-}" = windows ]; then
    packages="$packages
    wine wine64 openbox ninja-build unzip xz-utils
"
fi

missing=""
for package in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *) missing="$missing $package" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
else
    echo "These Debian packages are missing and there is no sudo to install them:$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
# shellcheck disable=SC2086
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
