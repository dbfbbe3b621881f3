#!/usr/bin/env bash
# check-install.sh <build dir> <work dir> <desktop id>
# Installs the build into a staging folder with prefix /usr, checks every file is in its place
# and both validators are clean, starts the installed panel offscreen and asks the installed
# rz470-sim for the unit; then installs the panel component alone and checks it comes without
# the simulated library.
set -euo pipefail

build="$1" work="$2" id="$3"
rm -rf "$work"
mkdir -p "$work"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
usr="$stage/usr"
expected=(
    bin/rz470-control-panel
    lib/rz470-control-panel/rz470-control-panel
    lib/rz470-control-panel/libRZ470.so
    bin/rz470-sim
    bin/rz470-ctl
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -f "$usr/$file" ] || fail "not installed: /usr/$file"
done
[ -L "$usr/bin/rz470-control-panel" ] || fail "/usr/bin/rz470-control-panel is not a link to the private folder"
echo "installed: ${#expected[@]} files in their places"

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
# --no-net: the addresses in the file are not fetched from here.
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# The installed panel, started through the link in bin/, with nothing pointing it at a library.
run="$work/run"
mkdir -p "$run/home" "$run/sim" "$run/runtime"
chmod 700 "$run/runtime"
export HOME="$run/home" RZ470_SIM_HOME="$run/sim" XDG_RUNTIME_DIR="$run/runtime" QT_QPA_PLATFORM=offscreen
unset LD_LIBRARY_PATH XDG_STATE_HOME XDG_CONFIG_HOME
# The crash handler leaves its dump in the current folder when the panel is stopped below.
(cd "$run" && exec "$usr/bin/rz470-control-panel" >"$run/panel.log" 2>&1) &
panel=$!
trap 'kill "$panel" 2>/dev/null || true' EXIT

# rz470-sim answers once the panel has loaded the library and polls it.
status=""
for _ in $(seq 1 30); do
    if status="$("$usr/bin/rz470-sim" --timeout-ms 1000 status 2>/dev/null)"; then
        break
    fi
    kill -0 "$panel" 2>/dev/null || { cat "$run/panel.log" >&2; fail "the installed panel ended"; }
    sleep 1
done
grep -qx "count=1" <<<"$status" || { cat "$run/panel.log" >&2; fail "the installed panel did not load the installed simulated library"; }
"$usr/bin/rz470-sim" log 50 | grep -q "^UpdateData() -> 1" || fail "the installed panel does not poll the unit"
echo "the installed panel runs on the installed simulated library"
# The panel answers scripts once it has found the unit.
reached=""
for _ in $(seq 1 20); do
    if "$usr/bin/rz470-ctl" status 2>/dev/null | grep -q "^LED 1 "; then
        reached=yes
        break
    fi
    sleep 0.5
done
[ -n "$reached" ] || fail "the installed rz470-ctl does not reach the installed panel"
echo "the installed rz470-ctl reaches the installed panel"
kill "$panel"
wait "$panel" 2>/dev/null || true
trap - EXIT

panel_only="$work/panel-only"
DESTDIR="$panel_only" cmake --install "$build" --prefix /usr --component panel >/dev/null
[ -f "$panel_only/usr/lib/rz470-control-panel/rz470-control-panel" ] || fail "panel component without the panel"
[ ! -e "$panel_only/usr/lib/rz470-control-panel/libRZ470.so" ] || fail "panel component carries the simulated library"
[ ! -e "$panel_only/usr/bin/rz470-sim" ] || fail "panel component carries rz470-sim"
[ -f "$panel_only/usr/bin/rz470-ctl" ] || fail "panel component without rz470-ctl"
echo "the panel component installs without the simulator"
