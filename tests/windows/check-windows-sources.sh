#!/usr/bin/env bash
# check-windows-sources.sh <compiler> <object dir> <probe.cpp> <source.cpp>...
# Compiles each Windows source with the project's warnings as errors, then links them with the
# probe into a Windows program. There is no Qt for MinGW here: a source that includes Qt fails the
# check unless it is named in QT_ONLY below, so that a Qt include can never hide a source from it.
set -euo pipefail

compiler="$1" objects="$2" probe="$3"
shift 3
if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "MinGW cross compiler not found ($compiler): install the Debian package g++-mingw-w64-x86-64" >&2
    exit 1
fi
if [ "$#" -eq 0 ]; then
    echo "no *Windows.cpp sources found" >&2
    exit 1
fi

# Windows halves that need Qt and are left to a Windows build, by file name.
QT_ONLY=()

is_qt_only() {
    local name
    for name in "${QT_ONLY[@]}"; do
        [ "$(basename "$1")" = "$name" ] && return 0
    done
    return 1
}

mkdir -p "$objects"
rm -f "$objects"/*.obj
flags=(-std=c++17 -Wall -Wextra -Wpedantic -Werror -DUNICODE -D_UNICODE)
includes=()
for source in "$@"; do
    includes+=(-I "$(dirname "$source")")
done

failed=0
for source in "$@" "$probe"; do
    if grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$source"; then
        if is_qt_only "$source"; then
            echo "skipped, listed as needing Qt: $source"
        else
            echo "FAILED: includes Qt and is not listed in QT_ONLY, so nothing here compiles it: $source" >&2
            failed=1
        fi
        continue
    fi
    object="$objects/$(basename "${source%.cpp}").obj"
    if "$compiler" "${flags[@]}" "${includes[@]}" -c "$source" -o "$object"; then
        echo "compiled: $source"
    else
        echo "FAILED to compile: $source" >&2
        failed=1
    fi
done
[ "$failed" -eq 0 ] || exit 1

"$compiler" -o "$objects/windows_probe.exe" "$objects"/*.obj -lversion
echo "linked: $objects/windows_probe.exe"
