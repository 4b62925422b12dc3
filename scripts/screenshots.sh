#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Takes a screenshot of each of Favorizer's windows, driven with the cabinet's keys on a scratch
# copy of the demo cabinet, into docs/screenshots/<size>[-fullscreen]/<nn>-<name>.png.
#
# The program runs on a virtual X screen (Xvfb) with no window manager, as it often does on a
# cabinet, and is driven with xdotool; ImageMagick's import takes the pictures. It sees only the
# DejaVu fonts, as on a Debian cabinet with nothing but the default fonts installed, so the
# pictures show the face built into the program. Everything it
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
#   default: 1920x1080x24:1 3840x2160x24:1:03-menu,09-editor 3840x2160x24:0:02-setup
#            640x480x24:0 640x480x24:1
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
    # shellcheck disable=SC2054  # the commas are inside one argument
    runs=(1920x1080x24:1 3840x2160x24:1:03-menu,09-editor 3840x2160x24:0:02-setup 640x480x24:0
        640x480x24:1)
fi
for run in "${runs[@]}"; do
    if [[ ! "$run" =~ ^[0-9]+x[0-9]+x[0-9]+:[01](:[0-9a-z,-]+)?$ ]]; then
        echo "error: '$run' is not WIDTHxHEIGHTxDEPTH:FULLSCREEN[:KEEP] (for example 640x480x24:1)" >&2
        exit 2
    fi
done
shots_dir="${SHOTS_DIR:-$FAVORIZER_ROOT/docs/screenshots}"
timeout="${SHOT_TIMEOUT:-15}"

ensure_packages "${FAVORIZER_PACKAGES[@]}" qt6-qpa-plugins fonts-dejavu-core xvfb imagemagick xdotool

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
window_settle=0.5
key_gap=0.08
key_settle=0.4
# shellcheck source=xvfb_session.sh
source "$FAVORIZER_ROOT/scripts/xvfb_session.sh"

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

start_screen_or_fail() {
    start_screen "$1" || fail "Xvfb did not start"
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

write_settings() {
    write_favorize_cfg "$program_dir/favorize.cfg" "$@"
}

# The fonts the program may see: DejaVu's alone, whatever else this machine has.
write_font_config() {
    mkdir -p "$scratch/fontcache"
    cat >"$scratch/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$scratch/fontcache</cachedir>
</fontconfig>
EOF
}

start_program() {
    mkdir -p "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    [[ -f "$scratch/fonts.conf" ]] || write_font_config
    env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" FONTCONFIG_FILE="$scratch/fonts.conf" \
        "$program_dir/favorizer" >"$scratch/program.log" 2>&1 &
    app_pid=$!
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

# Both action buttons at once, as a hand presses them.
both_buttons() {
    xdotool keydown ctrl keydown alt
    sleep 0.1
    xdotool keyup alt keyup ctrl
    sleep "${key_settle:-0.3}"
}

# --- the sessions -------------------------------------------------------------------------

# The setup screen: mame.map looked for in a folder without it, so the warning panel shows;
# a click on its last line leads to the pickers.
session_setup() {
    local fullscreen="$1" window
    fresh_cabinet
    write_settings "$cabinet" "$cabinet/config" "$cabinet" "$fullscreen"
    start_program
    wait_window "$setup_title"
    window="$found_window"
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
    wait_window "$menu_title"
    shot 03-menu
    press Right # the options menu, "Create a new favorites List." selected
    shot 04-menu-options

    press 1
    wait_window "$keyboard_title"
    # Type DEMO: D (3 right of A), E, M (down and left from E), then move on to O, which the
    # cursor slot previews.
    press Right Right Right 1 Right 1 Down Left 1 Right Right
    shot 05-keyboard
    press 1 # O: the name is DEMO
    # Left from O walks back past A to Done; Done, then Done again for an empty description.
    press_times 16 Left
    press 1
    press Up 1
    wait_window "$verify_title"
    shot 06-verify
    press 1 # Yes: the list is created and the menu comes back
    wait_window_gone "$verify_title"
    wait_window "$menu_title"

    # Edit CLASSICS (selected first): page down once with Ctrl, two down, add that game.
    press 1 1
    wait_window "$editor_title"
    press ctrl Down Down 1
    shot 09-editor
    press Right # the favourites pane
    shot 10-editor-favourites
    # Both action buttons twice: the filter panel, on the demo's own category files.
    both_buttons
    both_buttons
    press Down Down Down
    shot 11-editor-filters
    press Escape # the panel closed
    press Escape # saves the list
    wait_window_gone "$editor_title"
    wait_window "$menu_title"

    # Delete DEMO: select it, Start (Edit), down to Delete, Start.
    press Down 1 Down 1
    wait_window "$delete_title"
    shot 08-delete
    press 1 # deleted; the menu again
    wait_window_gone "$delete_title"
    wait_window "$menu_title"
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
    wait_window "$menu_title"
    press Right 1
    wait_window "$keyboard_title"
    press 1 Up 1 # the name A
    press Up 1   # no description
    wait_window "$verify_title"
    press 1 # Yes
    wait_window "$error_title"
    shot 07-error
    press Escape # the error screen closes over the verify screen
    wait_window_gone "$error_title"
    press Escape # the keyboard
    wait_window "$keyboard_title"
    press Escape # the menu
    wait_window "$menu_title"
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
    start_screen_or_fail "$size"
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
