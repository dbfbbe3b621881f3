#!/usr/bin/env bash
# Builds the panel for Windows x64 on this Debian machine: first a Qt for MinGW-w64 from Debian's
# own qt6-base source (once; kept in a cache folder outside the tree), then the project into
# build-windows/, a folder that runs as it is, and its zip.
#
#   bash scripts/build-windows.sh [--qt-only | --qt-cached]
#
# --qt-only builds the Qt alone; --qt-cached only answers whether it is built already (exit 0)
# or not (exit 1), and installs and builds nothing.
#
# RZ470_WINDOWS_QT_CACHE  where the Qt builds are kept (default ~/.cache/rz470-windows-qt)
# RZ470_WINDOWS_JOBS      parallel build steps (default: the number of cores)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qt_only=0 qt_cached=0
case "${1:-}" in
    --qt-only) qt_only=1 ;;
    --qt-cached) qt_cached=1 ;;
    "") ;;
    *) fail "usage: build-windows.sh [--qt-only | --qt-cached]" ;;
esac

[ "$qt_cached" -eq 1 ] || install_missing_packages "${WINDOWS_PACKAGES[@]}"
JOBS="${RZ470_WINDOWS_JOBS:-$(nproc)}"
QT_SOURCE_VERSION=6.4.2+dfsg-10
TOOLCHAIN_SOURCE="$ROOT/packaging/windows/mingw-w64-x86_64.cmake"
HOST_CMAKE_DIR="$(dirname "$(dirname "$(readlink -f /usr/lib/x86_64-linux-gnu/cmake/Qt6Core/Qt6CoreConfig.cmake)")")"

# Shared Qt: the programs and the suites share one copy of the Qt DLLs, the plugins load as
# they do in any Windows Qt install, and Qt's LGPL terms are met by the DLLs being replaceable.
# What the panel does not use is off; the two traps of Debian's source (no wintab, no OpenGL)
# are the last two lines.
QT_OPTIONS=(
    -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_freetype=ON
    -DFEATURE_tabletevent=OFF
    -DFEATURE_dynamicgl=OFF
)

# The cache key: the Qt source, the options, the tool chain and the compiler's version.
qt_key() {
    {
        echo "$QT_SOURCE_VERSION"
        printf '%s\n' "${QT_OPTIONS[@]}"
        cat "$TOOLCHAIN_SOURCE"
        x86_64-w64-mingw32-g++-posix --version | head -1
    } | sha256sum | cut -c1-12
}

QT_CACHE="${RZ470_WINDOWS_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/rz470-windows-qt}"
QT_PREFIX="$QT_CACHE/qt-${QT_SOURCE_VERSION%%+*}-$(qt_key)"
TOOLCHAIN="$QT_PREFIX/mingw-w64-x86_64.cmake"

# Fetches Debian's qt6-base source into $1 through a private apt folder: the system's own
# package lists are neither read nor changed.
fetch_qt_source() {
    local work="$1" apt="$1/apt"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
        >"$apt/sources.list"
    local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o "Debug::NoLocking=1")
    apt-get "${opts[@]}" update -qq
    (cd "$work" && apt-get "${opts[@]}" source -qq "qt6-base=$QT_SOURCE_VERSION")
}

# Builds and installs Qt under a temporary name and renames it only when complete, so a build
# that was stopped is never taken for a finished one.
build_qt() {
    if [ -f "$QT_PREFIX/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        echo "Qt for MinGW: $QT_PREFIX (cached)"
        return
    fi
    # One build at a time per cache: a second run waits, then finds the first one's result.
    mkdir -p "$QT_CACHE"
    exec 9>"$QT_CACHE/.lock"
    flock 9
    if [ -f "$QT_PREFIX/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        echo "Qt for MinGW: $QT_PREFIX (built meanwhile)"
        return
    fi
    local start=$SECONDS work="$QT_CACHE/work-$(basename "$QT_PREFIX")"
    step "Building Qt $QT_SOURCE_VERSION for MinGW-w64 into $QT_PREFIX (once; 40-70 minutes on 2 cores)"
    local source=""
    [ ! -d "$work" ] || source="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)"
    # The installed Qt names its tool chain file; it lives with it, not in this tree.
    mkdir -p "$work/stage$QT_PREFIX"
    cp "$TOOLCHAIN_SOURCE" "$work/stage$TOOLCHAIN"
    if [ -n "$source" ] && [ -f "$work/build/build.ninja" ]; then
        # Same key, same source and options: a build that was stopped goes on where it was.
        echo "resuming the Qt build in $work/build"
    else
        rm -rf "$work"
        mkdir -p "$work/stage$QT_PREFIX"
        cp "$TOOLCHAIN_SOURCE" "$work/stage$TOOLCHAIN"
        fetch_qt_source "$work"
        source="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)"
        [ -n "$source" ] || fail "apt-get source left no qt6-base folder in $work"
        cmake -S "$source" -B "$work/build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$work/stage$TOOLCHAIN" -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$HOST_CMAKE_DIR" "${QT_OPTIONS[@]}"
    fi
    cmake --build "$work/build" -j "$JOBS"
    DESTDIR="$work/stage" cmake --install "$work/build" >/dev/null
    # The install wrote the tool chain path of the stage; the final one is the same file renamed.
    grep -rlI "$work/stage" "$work/stage$QT_PREFIX" | xargs -r sed -i "s|$work/stage||g"
    mv "$work/stage$QT_PREFIX" "$QT_PREFIX"
    rm -rf "$work"
    echo "Qt for MinGW built in $(((SECONDS - start) / 60)) min: $QT_PREFIX"
}

if [ "$qt_cached" -eq 1 ]; then
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || exit 1
    [ -f "$QT_PREFIX/lib/cmake/Qt6/Qt6Config.cmake" ] && echo "$QT_PREFIX"
    exit
fi
build_qt
[ "$qt_only" -eq 0 ] || exit 0

OUT="$ROOT/build-windows"
HOST_BUILD="$OUT/host"
PACKAGE_NAME="$(windows_package_name)"
VERSION="${PACKAGE_NAME#rz470-control-panel-}"
VERSION="${VERSION%-windows-x64}"
MINGW_RUNTIME_DIRS=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

# What runs at build time is built for this machine: the artwork tool draws the pictures.
step "Host tools for the build"
cmake -S "$ROOT" -B "$HOST_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRZ470_TESTS=OFF >/dev/null
cmake --build "$HOST_BUILD" -j "$JOBS" --target rz470-artwork

step "The project for Windows x64 into $OUT"
cmake -S "$ROOT" -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRZ470_WERROR=ON -DRZ470_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$HOST_CMAKE_DIR" \
    -DRZ470_HOST_ARTWORK="$HOST_BUILD/tools/artwork/rz470-artwork" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64
cmake --build "$OUT" -j "$JOBS"

# The DLLs a Windows program or DLL imports by name, one a line.
imports_of() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

# Where a DLL of Qt's or of the compiler's lives here; nothing for one of the system's.
find_dll() {
    local dir
    for dir in "$QT_PREFIX/bin" "${MINGW_RUNTIME_DIRS[@]}"; do
        if [ -f "$dir/$1" ]; then
            echo "$dir/$1"
            return
        fi
    done
    # The file name may differ in case from the import.
    for dir in "$QT_PREFIX/bin" "${MINGW_RUNTIME_DIRS[@]}"; do
        find "$dir" -maxdepth 1 -iname "$1" -print -quit
    done
}

# deploy <folder> <program or plugin...>: copies into folder whatever the files import from Qt
# and the compiler, recursively, and the plugins of the Qt modules among them: a Qt Gui program
# needs its platform plugin, a Qt Widgets program the style of the system.
deploy() {
    local folder="$1" queue=() seen=" " file dll found plugin
    shift
    queue=("$@")
    while [ "${#queue[@]}" -gt 0 ]; do
        file="${queue[0]}"
        queue=("${queue[@]:1}")
        for dll in $(imports_of "$file"); do
            case "$seen" in *" ${dll,,} "*) continue ;; esac
            seen+="${dll,,} "
            found="$(find_dll "$dll")"
            [ -n "$found" ] || continue  # one of the system's
            cp "$found" "$folder/"
            queue+=("$found")
            case "$dll" in
                Qt6Gui.dll) plugin="platforms/qwindows.dll" ;;
                Qt6Widgets.dll) plugin="styles/qwindowsvistastyle.dll" ;;
                *) plugin="" ;;
            esac
            if [ -n "$plugin" ]; then
                mkdir -p "$folder/$(dirname "$plugin")"
                cp "$QT_PREFIX/plugins/$plugin" "$folder/$plugin"
                queue+=("$QT_PREFIX/plugins/$plugin")
            fi
        done
    done
}

# The build's own folder runs as it is too, suites included (under Wine, also offscreen).
step "The Qt and compiler DLLs beside the programs in $OUT/bin"
deploy "$OUT/bin" "$OUT"/bin/*.exe
mkdir -p "$OUT/bin/platforms"
cp "$QT_PREFIX/plugins/platforms/qoffscreen.dll" "$OUT/bin/platforms/"

step "The folder and the zip: $OUT/$PACKAGE_NAME.zip"
PACKAGE="$OUT/package/$PACKAGE_NAME"
rm -rf "$OUT/package"
mkdir -p "$PACKAGE/simulated-unit"
cp "$OUT/bin/rz470-control-panel.exe" "$OUT/bin/rz470-ctl.exe" "$PACKAGE/"
deploy "$PACKAGE" "$PACKAGE"/*.exe
# The simulated unit stays out of the program's folder, where the maker's RZ470.dll goes.
cp "$OUT/bin/RZ470.dll" "$OUT/bin/rz470-sim.exe" "$PACKAGE/simulated-unit/"
deploy "$PACKAGE/simulated-unit" "$PACKAGE/simulated-unit"/*
sed 's/$/\r/' "$ROOT/packaging/windows/simulated-unit.txt" >"$PACKAGE/simulated-unit/README.txt"
sed 's/$/\r/' "$ROOT/packaging/windows/README.txt" >"$PACKAGE/README.txt"
rm -f "$OUT/$PACKAGE_NAME.zip"
(cd "$OUT/package" && zip -qr9 "$OUT/$PACKAGE_NAME.zip" "$PACKAGE_NAME")
echo "$OUT/$PACKAGE_NAME.zip"

if command -v makensis >/dev/null; then
    step "The installer: $OUT/$PACKAGE_NAME-installer.exe"
    makensis -V2 -DVERSION="$VERSION" -DSOURCE="$PACKAGE" -DOUTFILE="$OUT/$PACKAGE_NAME-installer.exe" \
        "$ROOT/packaging/windows/installer.nsi"
fi
echo "Built in $((SECONDS / 60)) min $((SECONDS % 60)) s"
