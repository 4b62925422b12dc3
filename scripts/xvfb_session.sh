#!/usr/bin/env bash
# Shared by the scripts and tests that drive the real program on a virtual X screen (Xvfb) with
# no window manager, pressing the cabinet's keys with xdotool: source it, don't run it.
#
# The caller sets `scratch` (a folder of its own) and `timeout` (seconds to wait for anything),
# defines `fail MESSAGE`, and sets `app_pid` when it starts the program. Optional:
# `window_settle` (seconds a new window gets to draw itself), `key_gap` and `key_settle`
# (seconds after each key and after a run of keys).
# shellcheck disable=SC2034,SC2154  # variables shared with the script that sources this file

xvfb_pid=""
app_pid=""
found_window=""

# The windows' titles, as wait_window takes them. The menu's (and the setup window's) carries the
# version, read from where the build takes it, so a new version needs no change here.
favorizer_version="$(sed -n 's/^project(favorizer VERSION \([0-9.]*\).*/\1/p' \
    "$(dirname "${BASH_SOURCE[0]}")/../CMakeLists.txt")"
menu_title="^Favorizer ${favorizer_version//./\\.}\$"
setup_title="$menu_title"
keyboard_title='^Create a new favorites list$'
verify_title='^Verify name and description$'
error_title='^Error!!$'
delete_title='^Delete '
editor_title='^Edit Game List: '
controls_title='^Game controller$'
# The message boxes'.
box_title='^Favorizer$'

# Ends the test with the given status (the skip code) when Xvfb or xdotool is missing.
skip_without_xvfb_tools() {
    local tool
    for tool in Xvfb xdotool; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIPPED: $tool is not installed (scripts/test.sh installs it)"
            exit "$1"
        fi
    done
}

# For a test: makes `scratch`, a folder of its own, and ends the session whatever happens (the
# program and the screen stopped, the folder removed). A `fail` that reports the session is
# defined unless the caller has its own.
begin_session() {
    scratch="$(mktemp -d "${TMPDIR:-/tmp}/favorizer-$1.XXXXXX")"
    trap end_session EXIT
    trap 'exit 130' INT TERM
    if ! declare -F fail >/dev/null; then
        # shellcheck disable=SC2317  # called by the test
        fail() {
            echo "FAILED: $*" >&2
            report_session
            exit 1
        }
    fi
}

end_session() {
    stop_pid "$app_pid"
    stop_pid "$xvfb_pid"
    rm -rf -- "$scratch"
}

stop_pid() {
    local pid="$1" waited
    [[ -n "$pid" ]] || return 0
    kill "$pid" 2>/dev/null || return 0
    for ((waited = 0; waited < 50; waited++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Starts Xvfb with one screen of the given WIDTHxHEIGHTxDEPTH on a free display and exports
# DISPLAY. Returns 1, with the server's output on stderr, when it cannot start here.
start_screen() {
    local size="$1" waited display
    : >"$scratch/display"
    # Xvfb picks a free display itself and reports its number on the descriptor given.
    # No reset when the last client goes: a program killed and started again finds the server up.
    Xvfb -displayfd 3 -screen 0 "$size" -dpi 96 -nolisten tcp -br -noreset \
        3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for ((waited = 0; waited < timeout * 10; waited++)); do
        if [[ -s "$scratch/display" ]]; then
            display="$(tr -d '[:space:]' <"$scratch/display")"
            export DISPLAY=":$display"
            # The server may take a moment to accept clients after naming its display.
            if xdotool getdisplaygeometry >/dev/null 2>&1; then
                return 0
            fi
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$scratch/xvfb.log" >&2 || true
    stop_screen
    return 1
}

stop_screen() {
    stop_pid "$xvfb_pid"
    xvfb_pid=""
}

program_running() {
    [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null
}

# Waits for the program to end by itself, which it must do with status 0.
wait_program_end() {
    local waited status
    for ((waited = 0; waited < timeout * 10; waited++)); do
        if ! program_running; then
            wait "$app_pid"
            status=$?
            app_pid=""
            [[ "$status" == 0 ]] || fail "the program ended with status $status"
            return 0
        fi
        sleep 0.1
    done
    fail "the program did not end within ${timeout}s"
}

# What the program printed and which windows are up, for a failure's report.
report_session() {
    if [[ -s "$scratch/program.log" ]]; then
        echo "--- program output:" >&2
        cat "$scratch/program.log" >&2
    fi
    if [[ -n "${DISPLAY:-}" ]]; then
        echo "--- visible windows:" >&2
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            echo "  $(xdotool getwindowname "$id" 2>/dev/null)" >&2
        done
    fi
}

visible() {
    [[ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)" ]]
}

# Waits until a visible window's title matches the pattern, and a moment more for it to draw
# itself; its id is left in found_window. It looks `window_polls_per_second` times a second (10).
wait_window() {
    local pattern="$1" waited polls="${window_polls_per_second:-10}"
    for ((waited = 0; waited < timeout * polls; waited++)); do
        found_window="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)"
        if [[ -n "$found_window" ]]; then
            sleep "${window_settle:-0.3}"
            return 0
        fi
        program_running || fail "the program ended while waiting for a window titled '$pattern'"
        sleep "$(printf '0.%02d' $((100 / polls)))"
    done
    fail "no window titled '$pattern' appeared within ${timeout}s"
}

wait_window_gone() {
    local pattern="$1" waited
    for ((waited = 0; waited < timeout * 10; waited++)); do
        if ! visible "$pattern"; then
            sleep "${window_settle:-0.3}"
            return 0
        fi
        sleep 0.1
    done
    fail "the window titled '$pattern' did not close within ${timeout}s"
}

# Cabinet controls, as the encoder sends them: to wherever the X keyboard focus is.
press() {
    local key
    for key in "$@"; do
        program_running || fail "the program ended before key $key"
        xdotool key --clearmodifiers "$key"
        sleep "${key_gap:-0.15}"
    done
    sleep "${key_settle:-0.3}"
}

# Holds a key for two seconds: the X server repeats it about 25 times a second after 0.66 s.
hold() {
    local key="$1"
    program_running || fail "the program ended before holding $key"
    xdotool keydown "$key"
    sleep 2
    xdotool keyup "$key"
    sleep 0.5
}

# Moves the pointer to the screen's bottom right corner, out of the windows' way, so that keys reach
# only the window with the keyboard focus.
pointer_to_corner() {
    local width height
    read -r width height < <(xdotool getdisplaygeometry)
    xdotool mousemove $((width - 1)) $((height - 1))
}

# press_times N KEY
press_times() {
    local count="$1" key="$2" i keys=()
    for ((i = 0; i < count; i++)); do
        keys+=("$key")
    done
    press "${keys[@]}"
}
