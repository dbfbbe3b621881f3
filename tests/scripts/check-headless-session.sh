#!/usr/bin/env bash
# check-headless-session.sh <source dir> <panel executable> <display number> <port>
# Starts the headless session as the README's run command does, then tries it as another local
# user: that user must neither see nor drive it. Needs root to become that user (exit 77: skip).
set -uo pipefail
SOURCE="$1" PANEL="$2" NUMBER="$3" PORT="$4"
OTHER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: becoming another user needs root"
    exit 77
fi
WORK="$(mktemp -d)"
chmod 755 "$WORK"
SESSION_PID=""
failures=0
check() {
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi
}
stop_session() {
    [ -z "$SESSION_PID" ] || kill -TERM -- "-$SESSION_PID" 2>/dev/null || true
    [ -z "$SESSION_PID" ] || wait "$SESSION_PID" 2>/dev/null
    SESSION_PID=""
}
trap 'stop_session; rm -rf "$WORK"' EXIT

# The panel's own files in private folders, its simulated unit beside it.
mkdir -p "$WORK/state" "$WORK/config" "$WORK/runtime"
chmod 700 "$WORK/runtime"
export XDG_STATE_HOME="$WORK/state" XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
unset DISPLAY WAYLAND_DISPLAY XAUTHORITY
start_session() {
    RZ470_XVFB_DISPLAY="$NUMBER" RZ470_VNC_PORT="$PORT" setsid bash "$SOURCE/scripts/headless-session.sh" "$PANEL" \
        >"$WORK/session.out" 2>&1 &
    SESSION_PID=$!
}

# The VNC handshake up to the security types a server offers, as the user running it: one
# number per line (1: none, 2: VNC password).
security_types() {
    "$@" bash -c '
        exec 3<>/dev/tcp/127.0.0.1/'"$PORT"' || exit 1
        version=$(dd bs=1 count=12 status=none <&3)
        printf "%s\n" "$version" >&3
        count=$(dd bs=1 count=1 status=none <&3 | od -An -tu1 | tr -d " ")
        [ "${count:-0}" -gt 0 ] || exit 1
        dd bs=1 count="$count" status=none <&3 | od -An -tu1 -v | tr -s " " "\n" | sed "/^$/d"'
}

start_session
for tries in $(seq 200); do
    grep -q "VNC password for this run" "$WORK/session.out" && break
    kill -0 "$SESSION_PID" 2>/dev/null || break
    sleep 0.1
done
cat "$WORK/session.out"
PRIVATE="$(sed -n 's|.*kept for the run in \(.*\)/vncpasswd.*|\1|p' "$WORK/session.out")"
check "the session started and says where its private files are" test -n "$PRIVATE" -a -d "$PRIVATE"
SCREEN=":$NUMBER"

check "this user, with the cookie, reaches the screen" \
    bash -c 'DISPLAY='"$SCREEN"' XAUTHORITY='"$PRIVATE/Xauthority"' xdpyinfo >/dev/null' 
check "another user cannot reach the screen" \
    bash -c '! "$@" env DISPLAY='"$SCREEN"' xdpyinfo >/dev/null 2>&1' _ "${OTHER[@]}"
for file in Xauthority vncpasswd; do
    check "another user cannot read $file" bash -c '! "$@" cat '"$PRIVATE/$file"' >/dev/null 2>&1' _ "${OTHER[@]}"
done
BUS="$(sed -n 's|^ *export DBUS_SESSION_BUS_ADDRESS=\(.*\)$|\1|p' "$WORK/session.out")"
check "it prints the address of the panel's session bus" test -n "$BUS"
# The names on that bus, asked as the user given by the command before the address, if any.
bus_names() {
    "${@:2}" env DBUS_SESSION_BUS_ADDRESS="$1" timeout 10 gdbus call --session \
        --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus --method org.freedesktop.DBus.ListNames
}
panel_on_bus() { bus_names "$BUS" 2>/dev/null | grep -q "'example.varnholt.Orvane'"; }
# The panel takes its name there once it is up.
for tries in $(seq 100); do panel_on_bus && break; sleep 0.1; done
check "this user reaches the panel over that bus" panel_on_bus
fails() { ! "$@" >/dev/null 2>&1; }
check "another user cannot connect to that bus" fails bus_names "$BUS" "${OTHER[@]}"
types="$(security_types "${OTHER[@]}")"
check "the VNC server answers another user" test -n "$types"
check "it asks for the password (type 2)" grep -qx 2 <<<"$types"
check "it offers no way in without one (type 1)" bash -c '! grep -qx 1 <<<"$1"' _ "$types"
check "it listens on 127.0.0.1 only" bash -c '! (exec 3<>/dev/tcp/::1/'"$PORT"') 2>/dev/null'
stop_session
check "the private folder is gone once the session ends" test ! -e "$PRIVATE"

# Another user holds the port: the session refuses to start rather than serve somewhere else.
# The ended session's VNC server may still be closing, and the connections it closed linger in
# TIME_WAIT on the port: wait for its listener to go, and let the holder bind over TIME_WAIT.
for tries in $(seq 300); do (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null || break; sleep 0.1; done
"${OTHER[@]}" /usr/bin/python3 -c '
import socket, sys, time
s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(); time.sleep(90)' "$PORT" &
HOLDER=$!
# A loaded machine may take a while to start it.
for tries in $(seq 300); do (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null && break; sleep 0.1; done
check "the other user holds the port" bash -c '(exec 3<>/dev/tcp/127.0.0.1/'"$PORT"') 2>/dev/null'
RZ470_XVFB_DISPLAY="$NUMBER" RZ470_VNC_PORT="$PORT" timeout 20 bash "$SOURCE/scripts/headless-session.sh" "$PANEL" \
    >"$WORK/taken.out" 2>&1
status=$?
kill "$HOLDER" 2>/dev/null
cat "$WORK/taken.out"
check "a taken port stops the session with an error" test "$status" -ne 0 -a "$status" -ne 124
check "and says the port is taken" grep -q "port $PORT on 127.0.0.1 is taken" "$WORK/taken.out"
check "and starts no screen" test ! -e "/tmp/.X11-unix/X$NUMBER"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "the headless session is this user's alone"
