#!/usr/bin/env bash
# headless-session.sh <panel executable>
# Runs the panel on a virtual X screen served by VNC, for this user alone: the screen takes only
# clients holding a fresh cookie, and the VNC server only viewers that give a fresh password.
# The panel gets a session bus of its own for scripts, its socket beside them. All three live in
# a private folder (0700) that is removed at the end. run-panel.sh starts it when there is no
# display.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PANEL="$1"
VNC_PORT="${RZ470_VNC_PORT:-5900}"
SCREEN=":${RZ470_XVFB_DISPLAY:-77}"

# True when something on this machine takes connections at host $1, port $2.
listening() { (exec 3<>"/dev/tcp/$1/$2") 2>/dev/null; }

for host in 127.0.0.1 ::1; do
    listening "$host" "$VNC_PORT" &&
        fail "port $VNC_PORT on $host is taken by another program: choose a free one with RZ470_VNC_PORT"
done

PRIVATE="$(mktemp -d "${TMPDIR:-/tmp}/rz470-session.XXXXXX")"
chmod 700 "$PRIVATE"
PANEL_PID=""
VNC_PID=""
XVFB_PID=""
BUS_PID=""
cleanup() {
    [ -z "$PANEL_PID" ] || kill "$PANEL_PID" 2>/dev/null || true
    [ -z "$BUS_PID" ] || kill "$BUS_PID" 2>/dev/null || true
    [ -z "$VNC_PID" ] || kill "$VNC_PID" 2>/dev/null || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$PRIVATE"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# The screen's cookie: whoever cannot read this file cannot open a window on it or send it keys.
export XAUTHORITY="$PRIVATE/Xauthority"
(umask 077 && : >"$XAUTHORITY" && xauth -q -f "$XAUTHORITY" add "$SCREEN" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')")
start_virtual_screen "$SCREEN" "$PRIVATE/xvfb.log" "$XAUTHORITY"

# VNC reads eight characters of a password at most: 48 random bits, written as base64.
PASSWORD="$(head -c 6 /dev/urandom | base64 | tr '+/' '-_')"
(umask 077 && x11vnc -storepasswd "$PASSWORD" "$PRIVATE/vncpasswd" >/dev/null 2>&1)
x11vnc -display "$SCREEN" -auth "$XAUTHORITY" -rfbauth "$PRIVATE/vncpasswd" -localhost -noipv6 \
    -rfbport "$VNC_PORT" -forever -quiet -o "$PRIVATE/x11vnc.log" >/dev/null 2>&1 &
VNC_PID=$!
for tries in $(seq 100); do
    kill -0 "$VNC_PID" 2>/dev/null || fail "x11vnc could not serve 127.0.0.1:$VNC_PORT: $(tail -n 3 "$PRIVATE/x11vnc.log")"
    listening 127.0.0.1 "$VNC_PORT" && break
    sleep 0.1
done
listening 127.0.0.1 "$VNC_PORT" || fail "x11vnc did not listen on 127.0.0.1:$VNC_PORT within 10 s"

# A bare console has no session bus; scripts reach the panel over this one. Its socket sits in the
# private folder, so only this user can connect.
BUS_SOCKET="$PRIVATE/bus"
dbus-daemon --session --nofork --nopidfile --address="unix:path=$BUS_SOCKET" \
    >"$PRIVATE/bus.log" 2>&1 &
BUS_PID=$!
for tries in $(seq 100); do
    kill -0 "$BUS_PID" 2>/dev/null || fail "dbus-daemon ended at start: $(tail -n 3 "$PRIVATE/bus.log")"
    [ -S "$BUS_SOCKET" ] && break
    sleep 0.1
done
[ -S "$BUS_SOCKET" ] || fail "dbus-daemon did not open $BUS_SOCKET within 10 s"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$BUS_SOCKET"

cat <<MSG

No display here: the panel runs on virtual screen $SCREEN, served by VNC on 127.0.0.1:$VNC_PORT only.
VNC password for this run: $PASSWORD
(it is kept for the run in $PRIVATE/vncpasswd, readable by you alone, and removed at the end)
Connect a VNC viewer to localhost:$VNC_PORT; from another machine, tunnel the port first:
    ssh -L $VNC_PORT:localhost:$VNC_PORT <this host>
The panel's session bus, for scripts run by you on this host (see Scripting in README.md):
    export DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS
The panel's own window is the whole session; close it (or press Escape in it) to stop.

MSG
# In the background, so that a signal to this script ends the session at once.
DISPLAY="$SCREEN" "$PANEL" &
PANEL_PID=$!
wait "$PANEL_PID"
