#!/usr/bin/env bash
# check-runtime-folder.sh <source dir> <rz470-ctl executable>
# Where the README's commands put the panel's runtime folder when the shell has none: the run
# command takes the one Qt's programs fall back to, so rz470-ctl run from another shell looks
# where the panel listens; the test commands take a fresh one; a fallback folder that is not
# private to the user is never used.
set -uo pipefail
SOURCE="$1" CTL="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0
check() {
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi
}
# The runtime folder the scripts choose, with the given environment, under TMPDIR=$WORK.
chosen() {
    env -u XDG_RUNTIME_DIR TMPDIR="$WORK" "$@" bash -c 'source "$1/scripts/common.sh" && echo "$XDG_RUNTIME_DIR"' \
        _ "$SOURCE" 2>"$WORK/stderr"
}
FALLBACK="$WORK/runtime-$(id -un)"

panel="$(chosen)"
check "the run command takes Qt's fallback folder" test "$panel" = "$FALLBACK"
check "made private to the user" test "$(stat -c %a "$FALLBACK")" = 700
message="$(env -u XDG_RUNTIME_DIR TMPDIR="$WORK" QT_QPA_PLATFORM=offscreen "$CTL" status 2>&1)"
check "rz470-ctl looks in that folder" grep -qF "$FALLBACK/rz470-control-panel/script" <<<"$message"
check "again the same folder" test "$(chosen)" = "$FALLBACK"

tests="$(chosen RZ470_PRIVATE_RUNTIME=1)"
check "the test commands take a fresh folder" test -n "$tests" -a "$tests" != "$FALLBACK" -a -d "$tests"

chmod 755 "$FALLBACK"
open="$(chosen)"
check "a fallback folder others may enter is not used" test -n "$open" -a "$open" != "$FALLBACK" -a -d "$open"
check "and the folder taken instead is printed for scripts" grep -qF "export XDG_RUNTIME_DIR=$open" "$WORK/stderr"

exit $((failures > 0))
