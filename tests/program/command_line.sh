#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# command_line.sh MORVIK VERSION: --help and --version answer on the terminal
# with status 0 and no display; an unknown option is refused with status 2,
# Qt's own options are not; a file whose name starts like an option is still
# a file to open.
set -euo pipefail
morvik=$1 version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$morvik" "$@"; }

out=$(run --version) || fail "--version: status $?"
[[ "$out" == "Morvik $version" ]] || fail "--version printed '$out'"
for option in --help -h; do
    out=$(run "$option") || fail "$option: status $?"
    [[ "$out" == "Usage: $morvik [options] [FILE...]"* && "$out" == *--version* ]] ||
        fail "$option printed '$out'"
done

for args in "--bogus" "a.mp3 -x" "-platform offscreen --bogus"; do
    status=0
    # shellcheck disable=SC2086
    out=$(run $args 2>&1) || status=$?
    [[ $status -eq 2 && "$out" == *"unknown option '"-*"'"*"--help"* ]] || fail "$args: status $status, '$out'"
done

# Qt's options pass: the program starts (and is stopped here), as it does for a file.
status=0
timeout 3 "$morvik" -platform offscreen -style Fusion -reverse >/dev/null 2>&1 || status=$?
[[ $status -eq 124 ]] || fail "Qt's options: status $status"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
touch "$folder/-v.mp3"
status=0
out=$(cd "$folder" && run -v.mp3 2>&1) || status=$?
[[ $status -eq 1 && "$out" == *"no display here"* ]] || fail "-v.mp3: status $status, '$out'"
echo "--help and --version answered without a display, an unknown option refused"
