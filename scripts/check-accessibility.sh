#!/usr/bin/env bash
# Uses the panel as assistive technology and a keyboard user do, on a virtual screen (Xvfb) with
# the AT-SPI accessibility bus of a private D-Bus session: a script lists the main screen's
# buttons by name and switches LED 3 on through its accessible action (scripts/
# check-accessibility.py), reads the alarm tiles and the maintenance values and hears an alarm's
# change announced, then Tab moves the focus ring onto a button, which the accessibility
# bus reports focused and a screenshot shows; Escape ends the panel through the save question.
#
# Leaves the screenshots in build/accessibility-check (before-tab.png, focus-ring.png).
RZ470_PRIVATE_RUNTIME=1
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

SCREEN=":${RZ470_XVFB_DISPLAY:-79}"
WORK="$BUILD_DIR/accessibility-check"
CHECK="$ROOT/scripts/check-accessibility.py"
# Eight steps of Tab from the start reach LED 2's up arrow.
FOCUS_STEPS=8
FOCUS_NAME="Violet 405 intensity up"

install_missing_packages "${ACCESSIBILITY_CHECK_PACKAGES[@]}"

step "Build"
configure_and_build -- rz470-control-panel rz470-sim RZ470

step "A virtual screen $SCREEN and a private session"
rm -rf "$WORK"
mkdir -p "$WORK/home" "$WORK/runtime" "$WORK/sim"
chmod 700 "$WORK/runtime"
start_virtual_screen "$SCREEN" "$WORK/xvfb.log"
trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT

# Everything below runs in one D-Bus session, whose bus starts the accessibility bus when the
# panel asks for it. The system's Python, which has the accessibility binding.
session() {
    set -euo pipefail
    step() { printf '\n== %s\n' "$*"; }
    fail() {
        echo "FAIL: $*" >&2
        exit 1
    }
    shot() { xwd -root -silent | xwdtopnm 2>/dev/null | pamdepth 255 >"$WORK/$1.ppm" && pnmtopng <"$WORK/$1.ppm" >"$WORK/$1.png"; }

    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 rz470-control-panel >"$WORK/panel.log" 2>&1 &
    PANEL_PID=$!
    trap 'kill "$PANEL_PID" 2>/dev/null || true' EXIT

    step "The main screen's buttons by name, and LED 3 switched by its action"
    /usr/bin/python3 "$CHECK" tree

    step "The alarm tiles and the maintenance values by label and value, and a change announced"
    /usr/bin/python3 "$CHECK" status

    step "Tab moves the focus ring"
    local window
    window="$(xdotool search --sync --name "RZ470 Control Panel" | head -1)"
    xdotool windowfocus --sync "$window"
    shot before-tab
    for _ in $(seq 1 "$FOCUS_STEPS"); do
        xdotool key --clearmodifiers Tab
    done
    /usr/bin/python3 "$CHECK" focus "$FOCUS_NAME"
    sleep 0.5
    shot focus-ring
    /usr/bin/python3 "$CHECK" ring "$WORK/before-tab.ppm" "$WORK/focus-ring.ppm"
    rm -f "$WORK"/*.ppm
    echo "screenshots: $WORK/before-tab.png, $WORK/focus-ring.png"

    step "Escape ends the panel, as EXIT does: the save question, answered No by its own Escape"
    xdotool key --clearmodifiers Escape
    local tries
    for tries in $(seq 20); do
        sleep 0.5
        kill -0 "$PANEL_PID" 2>/dev/null || break
        [ $((tries % 4)) -ne 0 ] || xdotool key --clearmodifiers Escape
    done
    local code=0
    wait "$PANEL_PID" || code=$?
    trap - EXIT
    [ "$code" -eq 0 ] || { cat "$WORK/panel.log"; fail "the panel ended with code $code"; }
    echo "the panel ended with exit code 0"
}
env -i PATH="$BUILD_DIR/bin:/usr/bin:/bin" HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" \
    RZ470_SIM_HOME="$WORK/sim" DISPLAY="$SCREEN" WORK="$WORK" CHECK="$CHECK" FOCUS_STEPS="$FOCUS_STEPS" \
    FOCUS_NAME="$FOCUS_NAME" dbus-run-session -- bash -c "$(declare -f session); session" 2>"$WORK/session.log" || {
    tail -20 "$WORK/session.log"
    fail "see $WORK"
}

step "Accessibility check passed"
