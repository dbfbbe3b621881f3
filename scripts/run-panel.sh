#!/usr/bin/env bash
# Installs what is missing, builds the panel and starts it on the simulated unit. Without a
# display the panel runs on a virtual screen served by VNC on the loopback address only, to this
# user alone (headless-session.sh).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages
configure_and_build -- rz470-control-panel
PANEL="$BUILD_DIR/bin/rz470-control-panel"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$PANEL"
fi

exec bash "$ROOT/scripts/headless-session.sh" "$PANEL"
