#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Takes a screenshot of each of Favorizer's windows, driven with the cabinet's keys on a scratch
# copy of the demo cabinet, into docs/screenshots/<size>[-fullscreen]/<nn>-<name>.png.
#
# The program runs on a virtual X screen (Xvfb) with no window manager, as it often does on a
# cabinet, and is driven with xdotool; ImageMagick's import takes the pictures. Everything it
# starts is ended before it exits, and the repository's own files (demo cabinet, build folder
# settings) are never changed: the program runs as a copy in a scratch program folder.
#
# Every picture is checked: nothing but the screen's black and the windows' grey may touch the
# screen's edges, so no content is cut off there. For each cabinet screen the script prints how
# much of the screen the content fills (its bounding box against the screen, in the dimension
# that limits it) and, where a list has a selected row, the height of its capital letters.
#
# Usage: scripts/screenshots.sh [WIDTHxHEIGHTxDEPTH:FULLSCREEN[:KEEP] ...]
#   Each argument is one screen size and the "Run Favorizer fullscreen" value (0 or 1) to use;
#   KEEP, a comma-separated list of picture names, keeps only those (all are still checked).
#   default: 1920x1080x24:1 3840x2160x24:1:03-menu,09-editor 640x480x24:0 640x480x24:1
# Environment:
#   FAVORIZER_PROGRAM   a favorizer binary already built (default: build it with the presets)
#   SHOTS_DIR           where the pictures go (default: docs/screenshots in the repository)
#   SHOT_TIMEOUT        seconds to wait for a window before giving up (default: 15)
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$FAVORIZER_ROOT"

runs=("$@")
if ((${#runs[@]} == 0)); then
    runs=(1920x1080x24:1 3840x2160x24:1:03-menu,09-editor 640x480x24:0 640x480x24:1)
fi
for run in "${runs[@]}"; do
    if [[ ! "$run" =~ ^[0-9]+x[0-9]+x[0-9]+:[01](:[0-9a-z,-]+)?$ ]]; then
        echo "error: '$run' is not WIDTHxHEIGHTxDEPTH:FULLSCREEN[:KEEP] (for example 640x480x24:1)" >&2
        exit 2
    fi
done
shots_dir="${SHOTS_DIR:-$FAVORIZER_ROOT/docs/screenshots}"
timeout="${SHOT_TIMEOUT:-15}"

ensure_packages "${FAVORIZER_PACKAGES[@]}" qt6-qpa-plugins fonts-dejavu-core fonts-liberation2 xvfb imagemagick \
    xdotool

program_source="${FAVORIZER_PROGRAM:-}"
if [[ -z "$program_source" ]]; then
    cmake --preset default
    cmake --build --preset default --target favorizer
    program_source="$FAVORIZER_ROOT/build/default/favorizer"
fi

# A fixed scratch folder, so the paths the windows show (and so the pictures) are the same on
# every run; a lock keeps two runs from sharing it.
scratch_parent="$(cd "${TMPDIR:-/tmp}" && pwd -P)"
exec 9>"$scratch_parent/favorizer-screenshots.lock"
if ! flock -n 9; then
    echo "error: another scripts/screenshots.sh is running" >&2
    exit 1
fi
scratch="$scratch_parent/favorizer-screenshots"
rm -rf -- "$scratch"
mkdir -p "$scratch"
xvfb_pid=""
app_pid=""

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

cleanup() {
    stop_pid "$app_pid"
    app_pid=""
    stop_pid "$xvfb_pid"
    xvfb_pid=""
    rm -rf -- "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "error: $*" >&2
    if [[ -s "$scratch/program.log" ]]; then
        echo "--- program output:" >&2
        cat "$scratch/program.log" >&2
    fi
    exit 1
}

# --- the virtual screen -------------------------------------------------------------------

start_screen() {
    local size="$1" waited display
    # Xvfb picks a free display itself and reports its number on the descriptor given.
    : >"$scratch/display"
    Xvfb -displayfd 3 -screen 0 "$size" -dpi 96 -nolisten tcp -br \
        3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for ((waited = 0; waited < timeout * 10; waited++)); do
        if [[ -s "$scratch/display" ]]; then
            display="$(tr -d '[:space:]' <"$scratch/display")"
            export DISPLAY=":$display"
            if xdotool getdisplaygeometry >/dev/null 2>&1; then
                return 0
            fi
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$scratch/xvfb.log" >&2 || true
    fail "Xvfb did not start"
}

stop_screen() {
    stop_pid "$xvfb_pid"
    xvfb_pid=""
}

# --- the program ----------------------------------------------------------------------------

# A fresh cabinet and program folder for each start, so every session begins from the demo.
cabinet="$scratch/cabinet"
program_dir="$scratch/program"

fresh_cabinet() {
    rm -rf -- "$cabinet" "$program_dir" "$scratch/mame"
    cp -R demo/cabinet "$cabinet"
    mkdir -p "$program_dir"
    cp "$program_source" "$program_dir/favorizer"
}

# The program's settings file: nine lines, each ended by CR LF.
write_settings() {
    local launcher="$1" mame_cfg="$2" mame_map="$3" fullscreen="$4"
    printf '%s\r\n' \
        "# This file was created by Favorizer for Kabinet." \
        "# Next line is where kabinet.cfg file is stored." \
        "Kabinet.cfg default path = $launcher" \
        "# The next line is where mame.cfg is stored." \
        "Mame.cfg default path = $mame_cfg" \
        "# The next line is where mame.map is stored." \
        "Mame.map default path = $mame_map" \
        "# Next line chooses wheter or not Favorizer runs full screen. 1 = fullscreen" \
        "Run Favorizer fullscreen =  $fullscreen" >"$program_dir/favorize.cfg"
}

start_program() {
    mkdir -p "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
        "$program_dir/favorizer" >"$scratch/program.log" 2>&1 &
    app_pid=$!
}

program_running() {
    [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null
}

# Waits until the program has ended by itself; stops it if it does not.
wait_program_end() {
    local waited
    for ((waited = 0; waited < timeout * 10; waited++)); do
        if ! program_running; then
            wait "$app_pid" 2>/dev/null || true
            app_pid=""
            return 0
        fi
        sleep 0.1
    done
    echo "warning: the program did not end by itself; stopping it" >&2
    stop_pid "$app_pid"
    app_pid=""
}

# Prints the id of the visible window whose title matches the pattern, waiting for it.
wait_window() {
    local pattern="$1" waited id
    for ((waited = 0; waited < timeout * 10; waited++)); do
        id="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)"
        if [[ -n "$id" ]]; then
            # Give the window time to draw itself after it came up.
            sleep 0.5
            echo "$id"
            return 0
        fi
        program_running || fail "the program ended while waiting for a window titled '$pattern'"
        sleep 0.1
    done
    fail "no window titled '$pattern' appeared within ${timeout}s"
}

# Waits until no visible window's title matches the pattern.
wait_window_gone() {
    local pattern="$1" waited
    for ((waited = 0; waited < timeout * 10; waited++)); do
        if [[ -z "$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null || true)" ]]; then
            return 0
        fi
        sleep 0.1
    done
    fail "the window titled '$pattern' did not close within ${timeout}s"
}

# Cabinet controls: the keys reach whichever window has the keyboard, as on the cabinet.
press() {
    local key
    for key in "$@"; do
        program_running || fail "the program ended before key $key"
        xdotool key --clearmodifiers "$key"
        sleep 0.08
    done
    sleep 0.4
}

# press_times N KEY
press_times() {
    local count="$1" key="$2" i keys=()
    for ((i = 0; i < count; i++)); do
        keys+=("$key")
    done
    press "${keys[@]}"
}

# Clicks at a design position (twips, relative to the window's client area) in a window whose
# design is the given number of twips wide; the window may be shown at another scale.
click_twips() {
    local window="$1" left="$2" top="$3" design_width="$4" width
    width="$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')"
    xdotool mousemove --window "$window" $((left * width / design_width)) \
        $((top * width / design_width)) click 1
    sleep 0.5
}

out_dir=""
shot() {
    local name="$1"
    mkdir -p "$out_dir"
    # Quantised to 256 colours without dithering: small files, and flat UI colours stay exact.
    import -window root +dither -colors 256 "PNG8:$out_dir/$name.png"
    echo "  $out_dir/$name.png"
    check_edges "$out_dir/$name.png"
    measure "$out_dir/$name.png"
}

# The two colours that may touch the screen's edges: the screen's own black and the windows' grey.
background_colours=(black "rgb(239,239,239)")

# Fails when anything but the background touches the picture's outermost pixels.
check_edges() {
    local picture="$1" width height colours
    read -r width height < <(identify -format '%w %h\n' "$picture")
    colours="$(convert "$picture" -fill magenta \
        -draw "rectangle 1,1 $((width - 2)),$((height - 2))" -fuzz 2% \
        -opaque "${background_colours[0]}" -opaque "${background_colours[1]}" -format '%k' info:)"
    if ((colours != 1)); then
        fail "$picture: content is cut off at the screen's edge"
    fi
}

# Prints the content's share of the screen and a list row's capital-letter height.
measure() {
    local picture="$1" name width height box_width box_height bar profile
    name="$(basename "$picture" .png)"
    case "$name" in
    03-menu | 05-keyboard | 06-verify | 09-editor) ;;
    *) return 0 ;;
    esac
    read -r width height < <(identify -format '%w %h\n' "$picture")
    # The content's bounding box: everything that is not the background around it.
    read -r box_width box_height < <(convert "$picture" -fuzz 2% \
        -fill "${background_colours[1]}" -opaque "${background_colours[0]}" -trim \
        -format '%w %h\n' info:)
    awk -v n="$name" -v w="$width" -v h="$height" -v bw="$box_width" -v bh="$box_height" '
        BEGIN {
            sw = bw / w; sh = bh / h
            wider = (sw > sh)
            printf "    measure %s: content %dx%d, %.1f%% of the screen %s\n", n, bw, bh,
                   100 * (wider ? sw : sh), wider ? "width" : "height"
        }'
    # The selected row of the active list: light letters on the selection colour. Capitals
    # reach from the first lit pixel row down to the base line, the last row where most letters
    # have ink: below it only the few descenders have.
    bar="$(convert "$picture" -fuzz 6% -fill black +opaque "rgb(48,140,198)" -format '%@' info: \
        2>/dev/null)"
    [[ "$bar" =~ ^[1-9][0-9]*x([1-9][0-9]*)\+[0-9]+\+[0-9]+$ ]] || return 0
    profile="$(convert "$picture" -crop "$bar" +repage -colorspace gray -threshold 70% \
        -resize "1x${BASH_REMATCH[1]}!" -depth 16 txt:-)"
    awk -v n="$name" -v h="$height" '
        /^[0-9]+,[0-9]+:/ {
            split($0, at, /[,:() ]+/); row = at[2] + 0; lit[row] = at[3] + 0
            if (lit[row] > max) max = lit[row]
            if (row + 1 > rows) rows = row + 1
        }
        END {
            top = -1; base = -1
            for (r = 0; r < rows; r++) {
                if (lit[r] > 0 && top < 0) top = r
                if (lit[r] >= 0.5 * max) base = r
            }
            if (top >= 0)
                printf "    measure %s: list row capitals %d px, %.2f%% of the screen height\n",
                       n, base - top + 1, 100 * (base - top + 1) / h
        }' <<<"$profile"
}

# Titles, as the windows set them.
menu_title='^Favorizer 1\.0\.4$'
setup_title="$menu_title"
keyboard_title='^Create a new favorites list$'
verify_title='^Verify name and description$'
error_title='^Error!!$'
delete_title='^Delete '
editor_title='^Edit Game List: '

# --- the sessions -------------------------------------------------------------------------

# The setup screen: mame.map looked for in a folder without it, so the warning panel shows;
# a click on its last line leads to the pickers.
session_setup() {
    local fullscreen="$1" window
    fresh_cabinet
    write_settings "$cabinet" "$cabinet/config" "$cabinet" "$fullscreen"
    start_program
    window="$(wait_window "$setup_title")"
    shot 01-setup-warning
    # Label13 lies in Frame1 at 840, 4440 (Frame1 at 120, 360): click well inside it.
    click_twips "$window" $((120 + 840 + 1500)) $((360 + 4440 + 150)) 11040
    shot 02-setup
    press Escape
    wait_program_end
}

# The main screens on a cabinet that is set up: menu, keyboard, verify, editor, delete.
session_main() {
    local fullscreen="$1"
    fresh_cabinet
    write_settings "$cabinet" "$cabinet/config" "$cabinet/config" "$fullscreen"
    start_program
    wait_window "$menu_title" >/dev/null
    shot 03-menu
    press Right # the options menu, "Create a new favorites List." selected
    shot 04-menu-options

    press 1
    wait_window "$keyboard_title" >/dev/null
    # Type DEMO: D (3 right of A), E, M (down and left from E), then move on to O, which the
    # cursor slot previews.
    press Right Right Right 1 Right 1 Down Left 1 Right Right
    shot 05-keyboard
    press 1 # O: the name is DEMO
    # Left from O walks back past A to Done; Done, then Done again for an empty description.
    press_times 16 Left
    press 1
    press Up 1
    wait_window "$verify_title" >/dev/null
    shot 06-verify
    press 1 # Yes: the list is created and the menu comes back
    wait_window_gone "$verify_title"
    wait_window "$menu_title" >/dev/null

    # Edit CLASSICS (selected first): page down once with Ctrl, two down, add that game.
    press 1 1
    wait_window "$editor_title" >/dev/null
    press ctrl Down Down 1
    shot 09-editor
    press Right # the favourites pane
    shot 10-editor-favourites
    press Escape # saves the list
    wait_window_gone "$editor_title"
    wait_window "$menu_title" >/dev/null

    # Delete DEMO: select it, Start (Edit), down to Delete, Start.
    press Down 1 Down 1
    wait_window "$delete_title" >/dev/null
    shot 08-delete
    press 1 # deleted; the menu again
    wait_window_gone "$delete_title"
    wait_window "$menu_title" >/dev/null
    press Escape
    wait_program_end
}

# The error screen: the launcher's config folder lacks mame.cfg (the setup found one elsewhere),
# so creating a list fails with "File not found".
session_error() {
    local fullscreen="$1"
    fresh_cabinet
    mkdir -p "$scratch/mame"
    mv "$cabinet/config/mame.cfg" "$scratch/mame/mame.cfg"
    write_settings "$cabinet" "$scratch/mame" "$cabinet/config" "$fullscreen"
    start_program
    wait_window "$menu_title" >/dev/null
    press Right 1
    wait_window "$keyboard_title" >/dev/null
    press 1 Up 1 # the name A
    press Up 1   # no description
    wait_window "$verify_title" >/dev/null
    press 1 # Yes
    wait_window "$error_title" >/dev/null
    shot 07-error
    press Escape # the error screen closes over the verify screen
    wait_window_gone "$error_title"
    press Escape # the keyboard
    wait_window "$keyboard_title" >/dev/null
    press Escape # the menu
    wait_window "$menu_title" >/dev/null
    press Escape
    wait_program_end
}

for run in "${runs[@]}"; do
    IFS=: read -r size fullscreen keep <<<"$run"
    folder="${size%x*}"
    if [[ "$fullscreen" == 1 ]]; then
        folder+="-fullscreen"
    fi
    out_dir="$shots_dir/$folder"
    rm -rf -- "$out_dir"
    echo "Screen $size, full screen $fullscreen:"
    start_screen "$size"
    session_setup "$fullscreen"
    session_main "$fullscreen"
    session_error "$fullscreen"
    stop_screen
    if [[ -n "$keep" ]]; then
        for picture in "$out_dir"/*.png; do
            [[ ",$keep," == *",$(basename "$picture" .png),"* ]] || rm -f -- "$picture"
        done
    fi
done
echo "Screenshots are in $shots_dir"
