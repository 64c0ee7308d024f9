#!/bin/sh
# The Windows zip as a modder meets it, in a fresh Wine of its own with its own X server and window
# manager: unzipped into "Program Files" (a path with a blank), every DLL a program or library of
# the zip loads is in the zip or in Windows itself, the first start's question answered Yes (the
# association), a unit file with CR LF, Latin-1 bytes and a nested section opened from the command
# line, a value changed from the keyboard and saved: the saved bytes are the file's own with that
# one value changed. The association and the settings are read back from the user's registry, a
# unit file is opened again through the association, and the screen is kept as a picture.
#   scripts/windows-endtoend.sh Korvid-<version>-windows-x64.zip [folder for the screenshots]
set -eu
zip=$(realpath "$1")
shots=$(realpath "${2:-$(dirname "$zip")}")
work=$(mktemp -d "${TMPDIR:-/tmp}/korvid-windows-endtoend.XXXXXX")
timeout=60
failures=0

cleanup() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    for pid in ${windowmanager:-} ${xserver:-}; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
say() { printf 'windows-endtoend: %s\n' "$*"; }
fail() { say "FAIL: $*"; failures=$((failures + 1)); }
die() { say "FAIL: $*"; screenshot failure; exit 1; }
screenshot() { import -window root "$shots/endtoend-$1.png" && say "screen: $shots/endtoend-$1.png"; }

# The id of the shown window with exactly this title, once it shows; nothing after the time-out.
window() {
    deadline=$(($(date +%s) + timeout))
    until found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$found" ]; do
        [ "$(date +%s)" -lt "$deadline" ] || return 0
        sleep 0.2
    done
    # A window shows before it takes input.
    sleep 0.5
    echo "$found"
}
# Waits until no shown window has this title.
gone() {
    deadline=$(($(date +%s) + timeout))
    while xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}
keys() {
    id=$1
    shift
    xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
    sleep 0.3
    xdotool key --clearmodifiers --delay 80 "$@"
}
# Answers a question or message box with keys and waits until it has gone.
answer() {
    id=$(window "$1") && [ -n "$id" ] || die "no window \"$1\""
    keys "$id" "$2"
    gone "$1" || die "\"$1\" stayed"
}

# A display of our own: Xvfb picks a free one and says which once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xserver=$!
while [ ! -s "$work/display" ]; do
    kill -0 "$xserver" 2>/dev/null || { cat "$work/xvfb.log"; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
windowmanager=$!

# A Wine of its own, without the Qt and compiler folders of the build: the zip has to be enough.
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
unset WINEPATH QT_QPA_PLATFORM QT_PLUGIN_PATH
say "making a fresh Wine in $WINEPREFIX"
wineboot --init >/dev/null 2>&1
wineserver --wait

programs="$WINEPREFIX/drive_c/Program Files"
unzip -q "$zip" -d "$programs"
folder=$(basename "$zip" .zip)
[ -f "$programs/$folder/korvid4.exe" ] || die "the zip has no $folder/korvid4.exe"
say "the zip holds: $(cd "$programs/$folder" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')"

# Every DLL that a file of the zip imports is in the zip's folder or one of Windows's own (the
# api-ms-win sets are names the loader maps onto those).
system32="$WINEPREFIX/drive_c/windows/system32"
for file in $(cd "$programs/$folder" && find . -name '*.exe' -o -name '*.dll'); do
    for dll in $(x86_64-w64-mingw32-objdump -p "$programs/$folder/$file" | sed -n 's/^\s*DLL Name: //p' | grep -iv '^api-ms-win-'); do
        if ! find "$programs/$folder" "$system32" -maxdepth 1 -iname "$dll" | grep -q .; then
            fail "$file needs $dll, which is neither in the zip nor in Windows"
        fi
    done
done

# Our own unit file: CR LF, Latin-1 letters, a comment, a nested section.
units="$WINEPREFIX/drive_c/Units"
mkdir -p "$units"
printf '[UNITINFO]\r\n{\r\n\tUnitName=KVPANZER;\r\n\tName=Panzer \351l\351phant;\r\n\tMaxDamage=2000; // was 1800\r\n\t[SFXTypes]\r\n\t\t{\r\n\t\texplosiongenerator0=custom:kv_dust;\r\n\t\t}\r\n\tSide=CORE;\r\n}\r\n' >"$units/tank.fbi"
cp "$units/tank.fbi" "$units/scout.fbi"

program='C:\Program Files\'"$folder"'\korvid4.exe'
say "starting $program C:\\Units\\tank.fbi"
(cd "$work" && wine "$program" 'C:\Units\tank.fbi' >"$work/korvid4.log" 2>&1; echo $? >"$work/korvid4.exit") &

answer "Welcome to Korvid!" Return
answer "Restart" Return
main=$(window "Korvid Version 4.00")
[ -n "$main" ] || die "the main window never showed"
sleep 2
screenshot started

# Tab takes the keyboard into the names; the third row, MaxDamage: F2 opens its value, typed over
# and confirmed with Enter.
keys "$main" Tab Home Down Down F2
editor=$(window "Change the Value of...")
[ -n "$editor" ] || die "F2 opened no value editor"
keys "$editor" ctrl+a 2 5 0 0 Return
gone "Change the Value of..." || die "the value editor stayed"
sleep 1
screenshot changed
keys "$main" ctrl+s
deadline=$(($(date +%s) + timeout))
while cmp -s "$units/tank.fbi" "$units/scout.fbi"; do
    [ "$(date +%s)" -lt "$deadline" ] || die "Ctrl+S saved nothing"
    sleep 0.2
done
sed 's/MaxDamage=2000;/MaxDamage=2500;/' "$units/scout.fbi" >"$work/expected"
if cmp -s "$units/tank.fbi" "$work/expected"; then
    say "saved byte for byte: only MaxDamage changed"
else
    fail "the saved file differs from the expected bytes:"
    od -c "$units/tank.fbi" | head -20
fi

# The association: the user's own classes, the program's path quoted, and the file as "%1".
query() {
    wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^\s*(Default)\s*REG_SZ\s*//p'
}
expect() {
    if [ "$2" = "$3" ]; then say "$1: $2"; else fail "$1 is '$2', not '$3'"; fi
}
expect 'HKCU\Software\Classes\.fbi' "$(query 'HKCU\Software\Classes\.fbi')" Korvid4
expect 'HKCU\Software\Classes\Korvid4' "$(query 'HKCU\Software\Classes\Korvid4')" "FBI File"
expect 'HKCU\Software\Classes\Korvid4\shell\open\command' \
    "$(query 'HKCU\Software\Classes\Korvid4\shell\open\command')" \
    "\"C:\\Program Files\\$folder\\korvid4\" \"%1\""
expect 'HKCU\Software\Classes\Korvid4\DefaultIcon' "$(query 'HKCU\Software\Classes\Korvid4\DefaultIcon')" \
    "C:\\Program Files\\$folder\\Korvid.ico"

# The settings: the user's registry hive, organisation and program Korvid4, group Options.
settings=$(wine reg query 'HKCU\Software\Korvid4\Korvid4\Options' 2>/dev/null | tr -d '\r')
for value in "FirstRun REG_SZ 1" "Associated REG_SZ 1" \
    "VariableDir REG_SZ C:\\Program Files\\$folder\\Variables.dat" "ProjectDir REG_SZ C:\\Program Files\\$folder"; do
    if printf '%s\n' "$settings" | sed 's/^\s*//; s/\s\s*/ /g' | grep -qxF "$value"; then
        say "setting: $value"
    else
        fail "no setting '$value' in: $settings"
    fi
done

# The known variables came from the zip's Variables.dat: the panel's list is not empty, so the
# error about the variables file never showed.
xdotool search --onlyvisible --name '^Error Loading\.\.\.$' >/dev/null 2>&1 && fail "the variables file did not load"

# A save that Windows refuses, over a read-only file, says so and leaves the file as it was.
chmod a-w "$units/tank.fbi"
keys "$main" F2
editor=$(window "Change the Value of...")
[ -n "$editor" ] || die "F2 opened no value editor"
keys "$editor" ctrl+a 3 0 0 0 Return
gone "Change the Value of..." || die "the value editor stayed"
keys "$main" ctrl+s
error=$(window "Error Saving File")
if [ -n "$error" ]; then
    screenshot refused
    keys "$error" Return
    gone "Error Saving File" || die "the save error stayed"
else
    fail "a save over a read-only file showed no error"
fi
cmp -s "$units/tank.fbi" "$work/expected" || fail "the refused save changed the file"
chmod u+w "$units/tank.fbi"

# Closing the main window asks about the unsaved change; No ends the program cleanly.
keys "$main" alt+F4
answer "Save before Closing" alt+n
deadline=$(($(date +%s) + timeout))
while [ ! -s "$work/korvid4.exit" ]; do
    [ "$(date +%s)" -lt "$deadline" ] || die "the program did not end"
    sleep 0.2
done
[ "$(cat "$work/korvid4.exit")" = 0 ] || fail "the program ended with $(cat "$work/korvid4.exit")"

# What a double-click in Explorer does: the shell opens the file through the association. Windows
# shows the user's own classes in HKEY_CLASSES_ROOT; Wine shows only the machine's there, so the
# user's keys are copied for its shell to find.
for key in .fbi Korvid4; do
    wine reg copy "HKCU\\Software\\Classes\\$key" "HKLM\\Software\\Classes\\$key" /s /f >/dev/null 2>&1 \
        || fail "cannot copy the association of $key for Wine's shell"
done
say "opening C:\\Units\\scout.fbi through the association"
(cd "$work" && wine start /wait 'C:\Units\scout.fbi' >/dev/null 2>&1) &
main=$(window "Korvid Version 4.00")
[ -n "$main" ] || die "opening a .fbi file started no Korvid"
sleep 2
screenshot associated
started=$(ps -eo args | grep -F 'korvid4' | grep -F 'C:\Units\scout.fbi' | grep -v grep || true)
if [ -n "$started" ]; then
    say "the association started: $started"
else
    fail "no Korvid started with scout.fbi: $(ps -eo args | grep -i korvid | grep -v grep)"
fi
keys "$main" alt+F4 || true

if [ "$failures" -gt 0 ]; then
    say "$failures checks failed"
    exit 1
fi
say "all checks passed"
