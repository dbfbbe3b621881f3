#!/usr/bin/env bash
# Checks the Windows build of scripts/build-windows.sh under Wine, in a fresh Wine prefix: the
# Windows suites, then the zip's panel on a virtual screen with the windows platform against the
# simulated unit (main screen against docs/screens/main.png, a click on LED 3's ON, rz470-ctl.exe,
# one panel per user, EXIT's save question and the registry), a library planted in the current
# folder and on PATH, and the installer.
#
#   bash scripts/check-windows.sh
#
# RZ470_XVFB_DISPLAY  the virtual screen (default :93)
# RZ470_KEEP_WORK=1   keeps the Wine prefix and the screenshots in the work folder it names
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages "${WINDOWS_PACKAGES[@]}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
OUT="$ROOT/build-windows"
PACKAGE_NAME="$(windows_package_name)"
ZIP="$OUT/$PACKAGE_NAME.zip"
[ -f "$ZIP" ] || fail "no $ZIP: run scripts/build-windows.sh first"
SCREEN="${RZ470_XVFB_DISPLAY:-:93}"
TITLE='^Kynex ORVANE/RZ470 Control Panel$'

WORK="$(mktemp -d /tmp/rz470-check-windows.XXXXXX)"
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY="$SCREEN"
unset QT_QPA_PLATFORM WINEPATH
XVFB_PID=""
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    if [ "${RZ470_KEEP_WORK:-0}" = 1 ]; then
        echo "work folder kept: $WORK"
    else
        rm -rf "$WORK"
    fi
}
trap cleanup EXIT
started=$SECONDS
timed() { echo "   ($((SECONDS - started)) s so far)"; }

step "A fresh Wine prefix in $WINEPREFIX, and the virtual screen $SCREEN"
"$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1
start_virtual_screen "$SCREEN" "$WORK/xvfb.log"
timed

step "The Windows suites under Wine (offscreen; the system menu's on the virtual screen)"
ctest --test-dir "$OUT" --output-on-failure --timeout 300 || fail "a Windows suite failed"
timed

step "The zip unpacked into C:\\$PACKAGE_NAME, the simulated unit copied beside the panel"
unzip -q "$ZIP" -d "$WINEPREFIX/drive_c"
APP="$WINEPREFIX/drive_c/$PACKAGE_NAME"
WIN_APP="C:\\$PACKAGE_NAME"
[ ! -e "$APP/RZ470.dll" ] || fail "the zip puts a RZ470.dll where the maker's goes"
cp "$APP/simulated-unit/RZ470.dll" "$APP/"

# Runs a program of the panel's folder in the foreground, from that folder.
run_app() {
    local program="$1"
    shift
    (cd "$APP" && "$WINE" "$WIN_APP\\$program" "$@")
}
ctl() { run_app rz470-ctl.exe "$@" 2>&1 | tr -d '\r'; }
sim() { (cd "$APP" && "$WINE" "$WIN_APP\\simulated-unit\\rz470-sim.exe" "$@") 2>&1 | tr -d '\r'; }

# wait_for <seconds> <what> <command...>: until the command succeeds.
wait_for() {
    local seconds="$1" what="$2" tries
    shift 2
    for tries in $(seq $((seconds * 2))); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    fail "$what within $seconds s"
}
window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
shoot() { xwd -root -silent | xwdtopnm 2>/dev/null >"$1"; }

start_panel() {
    (cd "${1:-$APP}" && exec "$WINE" "${2:-$WIN_APP\\rz470-control-panel.exe}" >>"$WORK/panel.log" 2>&1) &
    PANEL_PID=$!
}

step "The panel on the windows platform"
start_panel
wait_for 90 "no panel window" window_of "$TITLE"
# The title phase ends once the panel found the unit; then scripts are answered.
wait_for 60 "rz470-ctl.exe status not answered" sh -c "cd '$APP' && '$WINE' '$WIN_APP\\rz470-ctl.exe' status | grep -q '\"connected\":true'"
ctl status | head -c 300
echo
timed

step "The main screen against docs/screens/main.png"
# The same state as the golden picture: LED 1 at full scale, LED 2 at zero.
ctl level 1 100 | grep -qx ok || fail "rz470-ctl.exe level 1 100"
ctl level 2 0 | grep -qx ok || fail "rz470-ctl.exe level 2 0"
sleep 2
pngtopnm "$ROOT/docs/screens/main.png" >"$WORK/golden.ppm"
shoot "$WORK/screen.ppm"
read -r ORIGIN_X ORIGIN_Y DIFFERING < <(python3 "$ROOT/scripts/windows/find-screen.py" "$WORK/screen.ppm" \
    "$WORK/golden.ppm" "$WORK/main.ppm") || fail "the main screen is not on the virtual screen"
pnmtopng "$WORK/main.ppm" >"$WORK/windows-main.png"
if [ "${RZ470_UPDATE_WINDOWS_SCREEN:-0}" = 1 ]; then
    cp "$WORK/windows-main.png" "$ROOT/docs/screens/windows-main.png"
fi
echo "main screen at $ORIGIN_X,$ORIGIN_Y; pixels differing from main.png: $DIFFERING"
[ "$DIFFERING" -eq 0 ] || fail "the main screen differs from docs/screens/main.png in $DIFFERING pixels (see $WORK/windows-main.png)"
timed

step "A click on LED 3's ON switches the simulated unit's LED 3"
xdotool mousemove $((ORIGIN_X + 358)) $((ORIGIN_Y + 313)) click 1
wait_for 10 "LED 3 did not come on" sh -c "cd '$APP' && '$WINE' '$WIN_APP\\simulated-unit\\rz470-sim.exe' status | grep -q '^unit0.channel3.on=1'"
echo "unit0.channel3.on=1"

step "rz470-ctl.exe level 3 45.5 shows 45.5 % on screen"
ctl level 3 45.5 | grep -qx ok || fail "rz470-ctl.exe level 3 45.5"
ctl channel 3 | grep -q '"level":455' || fail "LED 3's level did not become 455"
sleep 2
shoot "$WORK/screen.ppm"
pnmcut -left $((ORIGIN_X + 320)) -top $((ORIGIN_Y + 95)) -width 80 -height 42 "$WORK/screen.ppm" >"$WORK/led3.ppm"
pnmcut -left 320 -top 95 -width 80 -height 42 "$WORK/golden.ppm" >"$WORK/led3-before.ppm"
! cmp -s "$WORK/led3.ppm" "$WORK/led3-before.ppm" || fail "LED 3's value field still shows 50.0 %"
pnmtopng "$WORK/led3.ppm" >"$WORK/led3-45.5.png"
echo "LED 3's field changed (picture: led3-45.5.png in the work folder)"

step "One panel per user: a second start raises the first and ends"
second="$(run_app rz470-control-panel.exe 2>&1 | tr -d '\r')" || fail "the second panel ended with an error: $second"
echo "$second"
echo "$second" | grep -q "already running for this user" || fail "the second panel did not say the first one runs"
kill -0 "$PANEL_PID" 2>/dev/null || fail "the first panel ended"
timed

step "EXIT asks the save question; the registry holds the levels"
xdotool mousemove $((ORIGIN_X + 90)) $((ORIGIN_Y + 384)) click 1
wait_for 20 "no save question after EXIT" window_of '^Save Settings\?$'
xdotool key --window "$(window_of '^Save Settings\?$')" alt+y
wait_for 30 "the panel did not end after the save question" sh -c "! kill -0 $PANEL_PID 2>/dev/null"
KEY='HKCU\Software\Varnholt Technologies Corp\rz470-control-panel\Intensities'
"$WINE" reg query "$KEY" | tr -d '\r' | tee "$WORK/registry.txt" | grep -E 'Intensity(365|405|435)'
grep -Eq 'Intensity435[[:space:]]+REG_DWORD[[:space:]]+0x1c7' "$WORK/registry.txt" ||
    grep -Eq 'Intensity435[[:space:]]+REG_SZ[[:space:]]+455' "$WORK/registry.txt" ||
    fail "the registry does not hold LED 3's level 455 under $KEY"
timed

step "A RZ470.dll in the current folder and on PATH is never loaded"
rm "$APP/RZ470.dll"
mkdir -p "$WINEPREFIX/drive_c/planted"
cp "$APP/simulated-unit/RZ470.dll" "$WINEPREFIX/drive_c/planted/"
rm -rf "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/rz470-sim"
(cd "$WINEPREFIX/drive_c/planted" && WINEPATH='C:\planted' exec "$WINE" "$WIN_APP\\rz470-control-panel.exe" \
    >>"$WORK/panel.log" 2>&1) &
PANEL_PID=$!
wait_for 60 "no 'module load failure' message" window_of '^RZ470\.DLL Module load failure$'
[ ! -e "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/rz470-sim" ] || fail "the planted library was loaded"
echo "the panel says it found no library; the planted one made no state folder"
xdotool key --window "$(window_of '^RZ470\.DLL Module load failure$')" Return
wait_for 30 "the panel did not end after the failure message" sh -c "! kill -0 $PANEL_PID 2>/dev/null"
timed

INSTALLER="$OUT/$PACKAGE_NAME-installer.exe"
if [ -f "$INSTALLER" ]; then
    step "The installer, silently; the panel started from where it installed"
    cp "$INSTALLER" "$WINEPREFIX/drive_c/"
    "$WINE" "C:\\$(basename "$INSTALLER")" /S
    INSTALLED="$WINEPREFIX/drive_c/Program Files/ORVANE Control Panel"
    wait_for 60 "the installer put no panel into $INSTALLED" test -f "$INSTALLED/uninstall.exe"
    LINK="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ORVANE Control Panel/ORVANE Control Panel.lnk"
    [ -f "$LINK" ] || fail "no Start-menu entry at $LINK"
    cp "$INSTALLED/simulated-unit/RZ470.dll" "$INSTALLED/"
    start_panel "$INSTALLED" 'C:\Program Files\ORVANE Control Panel\rz470-control-panel.exe'
    wait_for 90 "the installed panel shows no window" window_of "$TITLE"
    wait_for 60 "the installed panel does not answer rz470-ctl.exe" sh -c \
        "cd '$APP' && '$WINE' '$WIN_APP\\rz470-ctl.exe' status | grep -q '\"connected\":true'"
    echo "the installed panel runs and answers"
    "$WINESERVER" -k 2>/dev/null || true
    sleep 1
    rm "$INSTALLED/RZ470.dll"
    "$WINE" 'C:\Program Files\ORVANE Control Panel\uninstall.exe' /S
    wait_for 60 "the uninstaller left $INSTALLED" sh -c "[ ! -e '$INSTALLED/rz470-control-panel.exe' ]"
    [ ! -e "$LINK" ] || fail "the uninstaller left the Start-menu entry"
    echo "uninstalled"
    timed
fi

echo
echo "check-windows: all passed in $((SECONDS - started)) s"
