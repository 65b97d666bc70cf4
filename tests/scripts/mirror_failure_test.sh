#!/usr/bin/env bash
# tools/mirror-failure on logs of failed debootstrap and apt-get runs: a download that did not
# come is the mirror's failure (status 0), anything else, a full disk above all, is not
# (status 1); either way the line printed is the one that names the cause.
#
#   mirror_failure_test.sh TOOLS_MIRROR_FAILURE
set -euo pipefail

tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name | expected status | expected line | the log, lines separated by \n
cases=(
    "release file|0|E: Failed getting release file http://m/debian/dists/trixie/Release|I: Retrieving InRelease\nE: Failed getting release file http://m/debian/dists/trixie/Release"
    "one package|0|W: Couldn't download package libc6 (ver 2.41 arch amd64) at http://m/x.deb|I: Retrieving libc6\nW: Couldn't download package libc6 (ver 2.41 arch amd64) at http://m/x.deb\nE: Couldn't download packages: libc6"
    "name lookup|0|Err:1 http://m trixie InRelease Temporary failure resolving 'm'|Err:1 http://m trixie InRelease Temporary failure resolving 'm'\nE: Unable to locate package cmake"
    "mirror out of sync|0|E: Failed to fetch http://m/pool/x.deb  404  Not Found [IP: 1.2.3.4 80]|  E: Failed to fetch http://m/pool/x.deb  404  Not Found [IP: 1.2.3.4 80]\nE: Unable to fetch some archives"
    "full disk while downloading|1|wget: Cannot write to 'x.deb' (No space left on device).|wget: Cannot write to 'x.deb' (No space left on device).\nW: Couldn't download package libc6"
    "full disk while unpacking|1|dpkg: error processing archive x.deb (--unpack): failed to write (No space left on device)|Unpacking x ...\ndpkg: error processing archive x.deb (--unpack): failed to write (No space left on device)\nE: Sub-process /usr/bin/dpkg returned an error code (1)"
    "unknown package|1|E: Unable to locate package no-such-thing|Reading package lists...\nE: Unable to locate package no-such-thing\n"
    "bad signature|1|E: Invalid Release signature (key id 1234)|I: Checking Release signature\nE: Invalid Release signature (key id 1234)"
    "no error named|1|Setting up x ...|Setting up x ...\n\n"
)

failures=0
for entry in "${cases[@]}"; do
    IFS='|' read -r name status line log <<<"$entry"
    printf '%b' "$log" >"$work/log"
    got_status=0
    got_line=$("$tool" "$work/log") || got_status=$?
    if [ "$got_status" != "$status" ] || [ "$got_line" != "$line" ]; then
        echo "FAIL $name: status $got_status (want $status), line '$got_line' (want '$line')"
        failures=$((failures + 1))
    fi
done
status=0
"$tool" "$work/missing" >/dev/null || status=$?
[ "$status" = 1 ] || { echo "FAIL a missing log: status $status"; failures=$((failures + 1)); }
[ "$failures" = 0 ] || exit 1
echo "mirror-failure: ${#cases[@]} logs and a missing one classified"
