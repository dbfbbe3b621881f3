#!/usr/bin/env bash
# Installs what is missing, builds the panel and starts it on the simulated unit. Without a
# display the panel runs on a virtual screen served by VNC on the loopback address only.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages
configure_and_build -- rz470-control-panel
PANEL="$BUILD_DIR/bin/rz470-control-panel"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$PANEL"
fi

VNC_PORT="${RZ470_VNC_PORT:-5900}"
SCREEN=":${RZ470_XVFB_DISPLAY:-77}"
start_virtual_screen "$SCREEN"
trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
x11vnc -display "$SCREEN" -localhost -rfbport "$VNC_PORT" -forever -shared -nopw -quiet -bg -o /dev/null
cat <<MSG

No display here: the panel runs on virtual screen $SCREEN, served by VNC on 127.0.0.1:$VNC_PORT only.
Connect a VNC viewer to localhost:$VNC_PORT (from another machine: ssh -L $VNC_PORT:localhost:$VNC_PORT <this host>).
The panel's own window is the whole session; close it (or press Escape in it) to stop.

MSG
DISPLAY="$SCREEN" "$PANEL"
