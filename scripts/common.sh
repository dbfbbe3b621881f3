# Shared by the two README commands: install what is missing, then configure and build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${RZ470_BUILD_DIR:-$ROOT/build}"
# Qt wants a private runtime folder; a bare root shell or CI has none. The panel then takes the
# one Qt's own programs fall back to, rz470-ctl among them, so that a script the user runs from
# another shell finds the panel's socket. The test commands take a fresh one each
# (RZ470_PRIVATE_RUNTIME=1): a panel the user runs meanwhile holds no lock they need.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    if [ "${RZ470_PRIVATE_RUNTIME:-0}" = 1 ]; then
        XDG_RUNTIME_DIR="$(mktemp -d)"
    else
        XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/runtime-$(id -un)"
        mkdir -p -m 700 "$XDG_RUNTIME_DIR" 2>/dev/null || true
        # Anyone else's folder, a link, or one others may enter is no private folder.
        if [ -L "$XDG_RUNTIME_DIR" ] || [ ! -O "$XDG_RUNTIME_DIR" ] || [ ! -d "$XDG_RUNTIME_DIR" ] ||
            [ "$(stat -c %a "$XDG_RUNTIME_DIR")" != 700 ]; then
            echo "$XDG_RUNTIME_DIR is not private to you: the panel takes a fresh folder, and scripts" \
                "need XDG_RUNTIME_DIR set to the one printed below" >&2
            XDG_RUNTIME_DIR="$(mktemp -d)"
            echo "    export XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" >&2
        fi
    fi
    export XDG_RUNTIME_DIR
fi

# Everything the build, the tests and the panel need, from Debian's packages.
PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    libelf-dev fonts-paratype
    xvfb xauth x11vnc x11-utils
    g++-mingw-w64-x86-64 desktop-file-utils appstream
    dbus libglib2.0-bin python3-dbus python3-gi
)

# What the sanitized second pass of the tests needs besides: Clang with its sanitizer and
# libFuzzer runtimes, and llvm-symbolizer for file and line in the reports.
SANITIZED_TEST_PACKAGES=(
    clang libclang-rt-14-dev llvm
)

# What scripts/check-package.sh needs besides: the package tools, a root folder of a fresh Debian
# to install into, and a look at the installed panel's window.
PACKAGE_CHECK_PACKAGES=(
    dpkg-dev debootstrap xdotool x11-apps netpbm
)

# What scripts/build-windows.sh and scripts/check-windows.sh need besides, and nothing else
# asks for: the MinGW-w64 tool chain with POSIX threads, the tools that build Qt from Debian's
# source, Wine to run the Windows programs, NSIS for the installer, and a look at the window.
WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 dpkg-dev ninja-build zip
    wine64 nsis xdotool x11-apps netpbm
)

# The name of the Windows zip's folder, from the project's version.
windows_package_name() {
    local version
    version="$(sed -n 's/^project(RZ470ControlPanel VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")"
    [ -n "$version" ] || fail "no project version in CMakeLists.txt"
    echo "rz470-control-panel-$version-windows-x64"
}

# What scripts/check-accessibility.sh needs besides: the accessibility bus, its Python binding,
# a session bus, and keys and screenshots on the virtual screen.
ACCESSIBILITY_CHECK_PACKAGES=(
    at-spi2-core gir1.2-atspi-2.0 python3-gi dbus xdotool x11-apps netpbm
)

step() { printf '\n== %s\n' "$*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts a virtual screen on display $1 (":N") in the background, its output into file $2 if
# given (or "" for none), the X authority file $3 if given, and leaves its process id in
# XVFB_PID. Returns once the screen takes clients; fails when it does not within 10 s.
start_virtual_screen() {
    local socket="/tmp/.X11-unix/X${1#:}" auth=()
    [ ! -e "$socket" ] || fail "display $1 is taken: set RZ470_XVFB_DISPLAY"
    [ -z "${3:-}" ] || auth=(-auth "$3")
    Xvfb "$1" -screen 0 1600x600x24 -nolisten tcp "${auth[@]}" >"${2:-/dev/null}" 2>&1 &
    XVFB_PID=$!
    local tries
    for tries in $(seq 100); do
        kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb for display $1 ended at start${2:+ (see $2)}"
        [ -S "$socket" ] && return 0
        sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    fail "Xvfb for display $1 did not open $socket within 10 s${2:+ (see $2)}"
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# install_missing_packages [further packages...]: PACKAGES and those given.
install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# configure_and_build [cmake options...] [-- targets...]
configure_and_build() {
    local options=() targets=()
    while [ "$#" -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
    [ "$#" -gt 0 ] && shift
    targets=("$@")
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRZ470_WERROR=ON "${options[@]}"
    if [ "${#targets[@]}" -gt 0 ]; then
        cmake --build "$BUILD_DIR" -j "$(nproc)" --target "${targets[@]}"
    else
        cmake --build "$BUILD_DIR" -j "$(nproc)"
    fi
}
