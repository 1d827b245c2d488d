# SPDX-License-Identifier: GPL-3.0-or-later
# The X session of the scripts that drive the real program: sourced, not run.

# fail MESSAGE: the screenshot scripts' way out (a script may define its own).
fail() {
    echo "screenshot: $*" >&2
    exit 1
}

# field TEXT WIDTH: the text in Windows-1251, then NULs up to the width (a
# tag record's field, for the files a screenshot shows).
field() {
    printf '%s' "$1" | iconv -f UTF-8 -t CP1251 >"$work/field"
    cat "$work/field"
    head -c $(($2 - $(stat -c %s "$work/field"))) /dev/zero
}

# screenshot_build ROOT BUILD: outside the X session, builds Morvik in BUILD
# (configuring it when it is new) and the screen grabber beside it.
screenshot_build() {
    local root=$1 build=$2 tool grabber
    for tool in g++ pkg-config; do
        command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
    done
    if [[ -f "$build/CMakeCache.txt" ]]; then
        cmake --build "$build" --target Morvik -j "$(nproc)"
    else
        "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    grabber=$build/grab_screen
    if [[ ! -x "$grabber" || "$root/scripts/grab_screen.cpp" -nt "$grabber" ]]; then
        # shellcheck disable=SC2046 # pkg-config gives several words on purpose
        g++ -std=c++17 -O1 -fPIC "$root/scripts/grab_screen.cpp" -o "$grabber" $(pkg-config --cflags --libs Qt6Gui)
    fi
}

# xsession_enter NAME SECONDS SCREEN TOOL... -- SCRIPT ARGS...: unless it runs
# inside one already, checks the tools and runs SCRIPT again inside a new
# Xvfb display (openbox is its window manager), for at most SECONDS.
xsession_enter() {
    local name=$1 seconds=$2 screen=$3 tool
    shift 3
    local tools=(xvfb-run openbox xprop)
    while [[ $1 != -- ]]; do tools+=("$1"); shift; done
    shift
    [[ -n "${MORVIK_XSESSION:-}" ]] && return 0
    for tool in "${tools[@]}"; do
        command -v "$tool" >/dev/null || { echo "$name: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
    done
    export MORVIK_XSESSION=1
    unset QT_QPA_PLATFORM
    exec timeout "$seconds" xvfb-run -a -s "-screen 0 $screen" "$@"
}

# xsession_start: a work folder in $work and openbox running. Processes put
# into the array pids are stopped, and the folder removed, when the script
# exits. Fails when openbox does not come up.
xsession_start() {
    work=$(mktemp -d)
    pids=()
    trap xsession_cleanup EXIT
    openbox >/dev/null 2>&1 &
    pids+=($!)
    timeout 20 bash -c "until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.2; done"
}

xsession_cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
