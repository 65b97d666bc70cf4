#!/usr/bin/env bash
# tests/support/run-folder: the folder of a test run is made under TMPDIR, where user lp can
# enter it but not list it; a folder that an interrupted run left is replaced; removing it
# leaves TMPDIR as it was; a link or folder that is not the run's own is never removed.
#
#   run_folder_test.sh RUN_FOLDER
set -euo pipefail

tool=$1
TMPDIR=$(mktemp -d)
export TMPDIR
chmod 755 "$TMPDIR"
trap 'rm -rf "$TMPDIR"' EXIT
link=$TMPDIR/build/test-run
mkdir -p "$TMPDIR/build"
failures=0

check() {
    local what=$1
    shift
    "$@" || { echo "FAIL: $what"; failures=$((failures + 1)); }
}
fails() { ! "$@" >/dev/null 2>&1; }
run_folders() { find "$TMPDIR" -maxdepth 1 -name 'toven-test-run.*' | wc -l; }

"$tool" make "$link" >/dev/null
first=$(readlink "$link")
check "made under TMPDIR" test "$(dirname "$first")" = "$TMPDIR"
check "mode 711" test "$(stat -c %a "$first")" = 711
check "a private TMPDIR for the tests" test "$(stat -c %a "$first/tmp")" = 700
if id lp >/dev/null 2>&1 && command -v setpriv >/dev/null; then
    check "lp enters the scheduler's folder" \
        setpriv --reuid=lp --regid=lp --clear-groups test -x "$first/cups"
fi

# An interrupted run left its folder: the next one starts afresh.
touch "$first/tmp/left-over"
"$tool" make "$link" >/dev/null
check "the old folder is gone" test ! -e "$first"
check "one run folder" test "$(run_folders)" = 1

"$tool" remove "$link"
check "the link is gone" test ! -e "$link" -a ! -L "$link"
check "TMPDIR holds nothing of the run" test "$(run_folders)" = 0

# Not ours: a folder without the run's mark is left alone; a real folder at LINK is refused.
mkdir "$TMPDIR/foreign"
ln -s "$TMPDIR/foreign" "$link"
"$tool" remove "$link"
check "a foreign folder stays" test -d "$TMPDIR/foreign"
mkdir "$link"
check "a folder at LINK is refused" fails "$tool" make "$link"
check "and stays" test -d "$link"

[ "$failures" = 0 ] || exit 1
echo "run-folder: made, replaced, removed, and left alone what is not its own"
