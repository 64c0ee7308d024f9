#!/bin/sh
# Runs a Windows program of the build under Wine: Qt's DLLs and plugins and the mingw runtime are
# found where they lie, so the build folder needs no copies. The Wine prefix is the build's own
# (WINEPREFIX, by default wine-prefix beside this script's build), made on first use.
#   scripts/wine-run.sh program.exe [arguments...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
qt=${KORVID_QT_WINDOWS:-$("$root/scripts/windows-qt.sh")}
export WINEPREFIX="${WINEPREFIX:-$root/build-windows/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No desktop integration: Wine would otherwise add menu entries and file types to the Linux desktop.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}"
export WINEARCH=win64
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
WINEPATH="$(windows_path "$qt/bin");$(windows_path "$gcc_runtime");$(windows_path "$pthread_runtime")"
export WINEPATH
# Programs run side by side (ctest -j): one of them makes the prefix and sets its environment.
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
    wineserver --wait
fi
# Offscreen, Qt draws text with the fonts of a folder: Debian's DejaVu.
fonts=/usr/share/fonts/truetype/dejavu
if [ -z "${QT_QPA_FONTDIR:-}" ] && [ -d "$fonts" ]; then
    QT_QPA_FONTDIR=$(windows_path "$fonts")
    export QT_QPA_FONTDIR
fi
# Wine keeps variables named QT_* from Windows programs, so they go to the prefix's user environment,
# which every program started in it reads; only a change is written. Qt writes test results and
# warnings to the debugger, not the console, unless told otherwise.
variables=$( (env | grep '^QT_' | grep -v '^QT_FORCE_STDERR_LOGGING=' || true; echo QT_FORCE_STDERR_LOGGING=1) | sort)
if [ "$variables" != "$(cat "$WINEPREFIX/korvid-environment" 2>/dev/null)" ]; then
    registry=$WINEPREFIX/korvid-environment.reg
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Environment]\n'
        sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/"\1"=-/p' "$WINEPREFIX/korvid-environment" 2>/dev/null || true
        printf '%s\n' "$variables" | sed 's/\\/\\\\/g; s/"/\\"/g; s/^\([^=]*\)=\(.*\)$/"\1"="\2"/'
    } > "$registry"
    wine regedit /S "$(windows_path "$registry")"
    printf '%s\n' "$variables" > "$WINEPREFIX/korvid-environment"
fi
exec 9>&-
exec wine "$@"
