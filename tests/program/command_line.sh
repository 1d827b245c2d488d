#!/usr/bin/env bash
# command_line.sh MORVIK VERSION: --help and --version answer on the terminal
# with status 0 and no display; a file whose name starts like an option is
# still a file to open.
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

status=0
out=$(run -v.mp3 2>&1) || status=$?
[[ $status -eq 1 && "$out" == *"no display here"* ]] || fail "-v.mp3: status $status, '$out'"
echo "--help and --version answered without a display"
