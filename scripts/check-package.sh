#!/usr/bin/env bash
# Builds the .deb packages and tries them as a user would on a fresh Debian 12: a new root folder
# made with debootstrap, `dpkg -i`, the declared dependencies from Debian, `dpkg -L`, both
# validators on the installed files, then the installed panel started from /usr/bin in a real
# window (Xvfb) on the installed simulated unit, looked at and closed with Escape.
#
# Needs root (debootstrap, chroot, mount; through sudo otherwise) and Debian's package mirror.
# Leaves the packages in build-package/packages and a screenshot of the installed panel in
# build-package/package-check/installed-panel.png; the root folder stays there only when a step
# failed.
RZ470_PRIVATE_RUNTIME=1
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

BUILD_DIR="${RZ470_PACKAGE_BUILD_DIR:-$ROOT/build-package}"
MIRROR="${RZ470_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
WORK="$BUILD_DIR/package-check"
TARGET="$WORK/debian12"
SCREEN=":${RZ470_XVFB_DISPLAY:-78}"

install_missing_packages "${PACKAGE_CHECK_PACKAGES[@]}"

step "Build and package"
configure_and_build -DRZ470_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
rm -rf "$BUILD_DIR/packages"
(cd "$BUILD_DIR" && cpack --config CPackConfig.cmake)
mapfile -t DEBS < <(ls "$BUILD_DIR"/packages/*.deb)
[ "${#DEBS[@]}" -eq 2 ] || fail "expected two packages, found ${#DEBS[@]}"
for deb in "${DEBS[@]}"; do
    dpkg-deb --field "$deb" Package Version Depends Recommends Suggests
    echo
done

mounted=()
XVFB_PID=""
PANEL_PID=""
cleanup() {
    [ -n "$PANEL_PID" ] && kill "$PANEL_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        as_root umount "${mounted[i]}" 2>/dev/null || true
    done
    return 0
}
trap cleanup EXIT

# A run that was stopped may have left its mounts: the root must not be removed through them.
mounts_in_root() { awk -v root="$TARGET/" 'index($2, root) == 1 { print $2 }' /proc/mounts | sort -r; }
unmount_leftovers() {
    local mount
    while read -r mount; do as_root umount "$mount" || true; done < <(mounts_in_root)
    [ -z "$(mounts_in_root)" ] || fail "still mounted in $TARGET: $(mounts_in_root)"
}

step "A fresh Debian 12 root in $TARGET"
unmount_leftovers
as_root rm -rf "$WORK"
mkdir -p "$WORK"
as_root debootstrap --variant=minbase bookworm "$TARGET" "$MIRROR" >"$WORK/debootstrap.log" 2>&1 ||
    { tail -20 "$WORK/debootstrap.log"; fail "debootstrap"; }
as_root cp /etc/resolv.conf "$TARGET/etc/resolv.conf"
as_root mount -t proc proc "$TARGET/proc" && mounted+=("$TARGET/proc")
in_root() { as_root chroot "$TARGET" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

step "dpkg -i"
as_root mkdir -p "$TARGET/tmp/packages"
as_root cp "${DEBS[@]}" "$TARGET/tmp/packages/"
in_root apt-get update -qq
# A fresh system lacks the dependencies: dpkg names them and leaves the packages unconfigured,
# and apt brings exactly what they declare.
in_root sh -c 'dpkg -i /tmp/packages/*.deb' || true
in_root apt-get -f install -y -qq --no-install-recommends >"$WORK/apt-f.log"
for package in rz470-control-panel rz470-simulated-unit; do
    state="$(in_root dpkg-query -W -f='${Package} ${Version}: ${Status}' "$package")"
    echo "$state"
    grep -q "install ok installed" <<<"$state" || fail "$package is not installed"
done

step "dpkg -L"
in_root dpkg -L rz470-control-panel rz470-simulated-unit | grep -v '/$' || true
ls -l "$TARGET/usr/bin/rz470-control-panel"

step "Validators on the installed files"
desktop-file-validate "$TARGET"/usr/share/applications/*.desktop || fail "desktop-file-validate"
echo "desktop-file-validate: clean"
# --no-net: the addresses in the file are not fetched from here.
appstreamcli validate --no-net "$TARGET"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"

step "The installed panel in a window on $SCREEN"
start_virtual_screen "$SCREEN" "$WORK/xvfb.log"
as_root mkdir -p "$TARGET/tmp/.X11-unix"
as_root mount --bind /tmp/.X11-unix "$TARGET/tmp/.X11-unix" && mounted+=("$TARGET/tmp/.X11-unix")
as_root mkdir -p "$TARGET/tmp/user/home" "$TARGET/tmp/user/runtime"
as_root chmod 700 "$TARGET/tmp/user/runtime"
user_env=(HOME=/tmp/user/home XDG_RUNTIME_DIR=/tmp/user/runtime DISPLAY="$SCREEN")
(in_root "${user_env[@]}" sh -c 'cd /tmp/user && exec rz470-control-panel' >"$WORK/panel.log" 2>&1
    echo "$?" >"$WORK/panel.exit") &
PANEL_PID=$!

status=""
for _ in $(seq 1 30); do
    status="$(in_root "${user_env[@]}" rz470-sim --timeout-ms 1000 status 2>/dev/null)" && break
    sleep 1
done
grep -qx "count=1" <<<"$status" || { cat "$WORK/panel.log"; fail "no panel answered for the simulated unit"; }
echo "rz470-sim status: the panel polls the simulated unit (count=1)"
in_root "${user_env[@]}" rz470-sim log 5

window=""
for _ in $(seq 1 30); do
    window="$(DISPLAY="$SCREEN" xdotool search --onlyvisible --name '^Kynex ORVANE/RZ470 Control Panel$' 2>/dev/null |
        head -1)" && [ -n "$window" ] && break
    sleep 1
done
[ -n "$window" ] || fail "the panel's window did not appear"
sleep 1
DISPLAY="$SCREEN" xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$WORK/installed-panel.png"
echo "screenshot: $WORK/installed-panel.png"

# Escape ends the panel at once; xdotool's key release may find the window gone.
DISPLAY="$SCREEN" xdotool key --window "$window" Escape 2>/dev/null || true
for _ in $(seq 1 20); do
    [ -s "$WORK/panel.exit" ] && break
    sleep 0.5
done
[ "$(cat "$WORK/panel.exit" 2>/dev/null)" = "0" ] || { cat "$WORK/panel.log"; fail "the panel did not end cleanly on Escape"; }
[ ! -e "$TARGET/tmp/user/crashdump.dmp" ] || fail "the panel left a crash dump"
PANEL_PID=""
echo "the panel ended with exit code 0 on Escape"

# The root is kept for a look when a step failed, removed when all passed.
cleanup
mounted=()
XVFB_PID=""
unmount_leftovers
as_root rm -rf "$TARGET"
step "Package check passed"
