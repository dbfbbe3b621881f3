#!/usr/bin/env bash
# check-bus-clients.sh <source dir> <bin dir>
# The running panel, offscreen on the simulated unit, driven over its session bus by programs that
# are not ours (gdbus, busctl) and by the README's Python example exactly as printed; then the
# panel started with no session bus at all.
set -uo pipefail
SOURCE="$1" BIN="$2"
PANEL="$BIN/rz470-control-panel"
WORK="$(mktemp -d)"
PANEL_PID=""
failures=0
check() {
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi
}
stop_panel() {
    [ -z "$PANEL_PID" ] || kill "$PANEL_PID" 2>/dev/null
    [ -z "$PANEL_PID" ] || wait "$PANEL_PID" 2>/dev/null
    PANEL_PID=""
}
trap 'stop_panel; rm -rf "$WORK"' EXIT

mkdir -p "$WORK/state" "$WORK/config" "$WORK/runtime" "$WORK/home"
chmod 700 "$WORK/runtime"
export XDG_STATE_HOME="$WORK/state" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime" HOME="$WORK/home"
export QT_QPA_PLATFORM=offscreen
# The README's commands name Debian's own python3, which has python3-dbus.
export PATH="/usr/bin:$PATH"

start_panel() {
    "$PANEL" >"$WORK/panel.out" 2>"$WORK/panel.err" &
    PANEL_PID=$!
}
call() {
    timeout 10 gdbus call --session --dest example.varnholt.Orvane --object-path /example/varnholt/Orvane \
        --method "example.varnholt.Orvane1.$1" "${@:2}"
}
sim_level() { "$BIN/rz470-sim" status | sed -n "s/^unit0\.channel$1\.intensity=//p"; }
panel_connected() { call GetStatus 2>/dev/null | grep -q "'connected': <true>"; }

start_panel
for tries in $(seq 300); do panel_connected && break; sleep 0.1; done
check "the panel takes its name on the session bus and finds the unit" panel_connected

# gdbus, with no code of ours: a level and a read back.
check "gdbus sets a level" call SetLevel "[3]" 45.5
for tries in $(seq 50); do [ "$(sim_level 3)" = 455 ] && break; sleep 0.1; done
check "the level reaches the simulated unit" test "$(sim_level 3)" = 455
check "gdbus reads it back in tenths" bash -c "$(declare -f call); call GetChannel 3 | grep -q \"'level': <455>\""
refusal="$(call GetChannel 10 2>&1)"
check "a refusal reaches gdbus as its named error" grep -q "example.varnholt.Orvane1.Error.Usage" <<<"$refusal"
# A name that would forge protocol lines is refused, and nothing of it is kept.
forged="$(call Rename 3 "$(printf 'a\nok\nb')" 2>&1)"
check "a name with line breaks is refused as Usage" grep -q "Error.Usage: a name cannot hold control" <<<"$forged"
check "and LED 3 keeps its name" bash -c "$(declare -f call); call GetChannel 3 | grep -q \"'name': <'Indigo 435'>\""

if command -v busctl >/dev/null; then
    check "busctl --user switches LED 3 on" timeout 10 busctl --user call example.varnholt.Orvane \
        /example/varnholt/Orvane example.varnholt.Orvane1 SwitchOn ai 1 3
    check "busctl --user reads a property" bash -c 'timeout 10 busctl --user get-property example.varnholt.Orvane \
        /example/varnholt/Orvane example.varnholt.Orvane1 Connected | grep -qx "b true"'
else
    echo "busctl is not installed: its checks are left out"
fi

# The README's shell examples, each as printed, from a folder whose build/ is this build.
mkdir -p "$WORK/root"
ln -s "$(dirname "$BIN")" "$WORK/root/build"
readme_commands() {
    awk '/^## Scripting/ { on = 1; next } /^## / { on = 0 } /^```/ { fenced = !fenced; next }
         on && !fenced && /^    / { sub(/^    /, ""); print }' "$SOURCE/README.md" |
        sed -e ':a' -e '/\\$/N; s/\\\n *//; ta'
}
while IFS= read -r example; do
    check "the README's example works: $example" bash -c "cd '$WORK/root' && $example >/dev/null"
done < <(readme_commands)
check "the README shows shell examples for gdbus and rz470-ctl" \
    bash -c "$(declare -f readme_commands); SOURCE='$SOURCE' readme_commands | grep -q '^gdbus call' && SOURCE='$SOURCE' readme_commands | grep -q '^build/bin/rz470-ctl'"

# The README's Python example: the same text as the file, run as printed.
check "the README shows the example as the file holds it" bash -c \
    'sed -n "/^\`\`\`python\$/,/^\`\`\`\$/p" "$1/README.md" | sed "1d;\$d" | cmp -s - "$1/docs/examples/ramp-led3.py"' _ "$SOURCE"
command="$(grep -o 'python3 docs/examples/ramp-led3.py' "$SOURCE/README.md" | head -n 1)"
check "the README prints the command that runs it" test -n "$command"
(cd "$SOURCE" && timeout 60 $command) >"$WORK/ramp.out" 2>"$WORK/ramp.err"
status=$?
tail -n 3 "$WORK/ramp.out"
cat "$WORK/ramp.err" >&2
check "the ramp ends well" test "$status" -eq 0
check "it prints the scripted changes of LED 3" grep -q "^LED 3 on at .* by script" "$WORK/ramp.out"
check "it prints the last step" grep -q "^LED 3 on at 100.0 %" "$WORK/ramp.out"
check "LED 3 ends at 100 % at the unit" test "$(sim_level 3)" = 1000

# A knob turned at the unit is announced as the unit's.
timeout 10 gdbus monitor --session --dest example.varnholt.Orvane >"$WORK/monitor.out" 2>&1 &
MONITOR=$!
sleep 1
"$BIN/rz470-sim" knob 3 250 >/dev/null
for tries in $(seq 50); do grep -q "ChannelChanged (3, .*'unit')" "$WORK/monitor.out" && break; sleep 0.1; done
kill "$MONITOR" 2>/dev/null
check "a knob turn at the unit arrives as ChannelChanged by the unit" grep -q "ChannelChanged (3, .*'unit')" "$WORK/monitor.out"
check "and as a change of Levels" grep -q "PropertiesChanged.*'Levels'" "$WORK/monitor.out"
stop_panel

# No session bus at all: one line says so, and the panel goes on.
DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus" start_panel
sleep 3
check "without a session bus the panel still runs" kill -0 "$PANEL_PID"
check "and says so on one line" test "$(grep -c 'no session bus' "$WORK/panel.err")" -eq 1
cat "$WORK/panel.err"
stop_panel

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "the panel serves programs on its session bus"
