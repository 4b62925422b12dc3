#!/usr/bin/env bash
# The real program on a virtual X screen with no window manager, driven by a game controller
# alone: a virtual one that the program attaches when FAVORIZER_TEST_PAD names a FIFO. A pad SDL
# knows and an encoder it does not each create a list, add a game to it, save it and delete it;
# a Start held on the way acts once, and unplugging while the joystick is held stops the move.
#
# Usage: controller_test.sh FAVORIZER_BINARY DEMO_CABINET_FOLDER
# Exits 77 (skipped) only when Xvfb or xdotool is missing or Xvfb cannot start here.
# shellcheck source=SCRIPTDIR/../support/xvfb_start.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/xvfb_start.sh" pad-test "$@"
# shellcheck source=SCRIPTDIR/../support/pad_flows.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/pad_flows.sh"

cabinet="$scratch/cabinet"
program_dir="$scratch/program"
kabinet="$cabinet/kabinet.cfg"
config="$cabinet/config"
open_test_pad

# A fresh cabinet and program folder; `again` starts the same program once more.
start_program() {
    if [[ "${1:-}" != again ]]; then
        rm -rf -- "$cabinet" "$program_dir"
        cp -R "$demo_cabinet" "$cabinet"
        mkdir -p "$program_dir" "$scratch/runtime"
        chmod 700 "$scratch/runtime"
        cp "$program_source" "$program_dir/favorizer"
        write_favorize_cfg "$program_dir/favorize.cfg" "$cabinet" "$cabinet/config" \
            "$cabinet/config" 0
    fi
    env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" FAVORIZER_TEST_PAD="$fifo" \
        "$program_dir/favorizer" >"$scratch/program.log" 2>&1 &
    app_pid=$!
}


if ! start_screen "${XVFB_TEST_SCREEN:-1024x768x24}"; then
    echo "SKIPPED: Xvfb cannot run here"
    exit "$skip"
fi
pointer_to_corner

for kind in known encoder; do
    echo "A list created, filled, saved and deleted with the $kind controller alone"
    if [[ "$kind" == known ]]; then wire_known_pad; else wire_encoder; fi
    start_program
    wait_window "$menu_title"
    pad "attach $kind"
    sleep 0.3
    if [[ "$kind" == encoder ]]; then
        teach_encoder
    fi

    list_with_controller "$kind"
    unplugged_while_held "$kind"
    tap exit # ESC on the menu ends the program
    wait_program_end
    pad detach
done

echo "The taught encoder after a restart: heard as taught, not asked again"
start_program again
wait_window "$menu_title"
pad "attach encoder"
sleep 0.5
visible "$controls_title" && fail "the taught encoder was asked to be taught again"
tap right start # Create: the keyboard
wait_window "$keyboard_title"
tap exit
wait_window "$menu_title"
tap exit
wait_program_end
echo "PASSED"
