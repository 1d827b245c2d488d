#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program, driven as a user drives it: Ctrl+O, pick a file in the
# open dialog, open it, type a new title, press Enter on "Записать", then
# check the file's last 128 bytes. Runs under Xvfb with openbox as window
# manager; every wait is bounded. Usage: e2e_open_edit_save.sh PATH_TO_MORVIK
# (set MORVIK_E2E_SHOTS to a folder to keep screenshots of each step).
set -euo pipefail

morvik=$(realpath "$1")
# shellcheck source=../../scripts/xsession.sh
source "$(dirname "$0")/../../scripts/xsession.sh"
xsession_enter e2e 150 1280x1024x24 xdotool xwininfo -- "$0" "$morvik"

fail() {
    echo "e2e: $*" >&2
    shot failure
    exit 1
}
shot() {
    if [[ -n "${MORVIK_E2E_SHOTS:-}" ]]; then
        mkdir -p "$MORVIK_E2E_SHOTS"
        import -window root "$MORVIK_E2E_SHOTS/$1.png" 2>/dev/null || true
    fi
}
# field TEXT WIDTH: the text, then NULs up to the width.
field() {
    printf '%s' "$1"
    head -c $(($2 - ${#1})) /dev/zero
}
record() { # title: an ID3v1 record with artist Band, album Album, year 2003, comment Nice, genre 17
    printf 'TAG'
    field "$1" 30; field Band 30; field Album 30; field 2003 4; field Nice 30
    printf '\021'
}
# wait_for SECONDS COMMAND...: runs the command until it succeeds.
wait_for() {
    local seconds=$1; shift
    timeout "$seconds" bash -c "until $*; do sleep 0.2; done" >/dev/null 2>&1
}
# window_geometry ID: sets X, Y (absolute position of the client area).
window_geometry() {
    local info
    info=$(xwininfo -id "$1")
    X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
}

xsession_start || fail "openbox did not start"

song="$work/music/song.mp3"
mkdir -p "$work/music"
head -c 1000 /dev/zero | tr '\0' 'x' >"$work/audio"
{ cat "$work/audio"; record Old; } >"$song"
record "New Title" >"$work/expected"

# The open dialog starts in the program's current folder.
(cd "$work/music" && exec "$morvik") >"$work/morvik.log" 2>&1 &
pids+=($!)
frame=$(timeout 20 xdotool search --sync --onlyvisible --name '^Morvik$' | head -n 1) || fail "no frame window"
xdotool windowactivate --sync "$frame" || fail "cannot activate the frame"
shot 1-frame

xdotool key --clearmodifiers ctrl+o
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Открыть$' | head -n 1) || fail "no open dialog"
xdotool windowactivate --sync "$dialog" || true
window_geometry "$dialog"
# The first entry of the file list (left 200, top 19 in the dialog), then "Открыть" (280, 255; 91 x 26).
xdotool mousemove --sync $((X + 240)) $((Y + 28)) click 1
sleep 0.3
shot 2-selected
xdotool mousemove --sync $((X + 325)) $((Y + 268)) click 1
wait_for 20 "! xdotool search --onlyvisible --name '^Открыть$'" || fail "the open dialog did not close"
shot 3-document

# The document window is active: Tab from its first field to the title.
xdotool windowactivate --sync "$frame" || true
xdotool key --clearmodifiers Tab
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 30 "New Title"
sleep 0.3
shot 4-typed
# Artist, album, year, genre, comment, "Дополнительно", "Обновить", "Записать".
for _ in 1 2 3 4 5 6 7 8; do xdotool key --clearmodifiers Tab; done
sleep 0.2
xdotool key --clearmodifiers Return

if ! wait_for 20 "tail -c 128 '$song' | cmp -s - '$work/expected'"; then
    tail -c 128 "$song" | od -c | head -n 4 >&2
    fail "the file's last 128 bytes are not the new tag"
fi
shot 5-saved
[[ $(stat -c %s "$song") -eq 1128 ]] || fail "the file changed its size"
head -c 1000 "$song" | cmp -s - "$work/audio" || fail "bytes before the tag changed"
echo "e2e: the title was written through the real program"
