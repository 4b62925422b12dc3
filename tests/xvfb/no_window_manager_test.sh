#!/usr/bin/env bash
# The real program on a virtual X screen (Xvfb) with no window manager, as on many cabinets,
# driven by real key presses from xdotool. Nothing helps the program with the focus: every key
# goes where the X server's keyboard focus is, so the program has to keep it itself.
#
# Checks that after a message box closes the menu still answers the cabinet's keys, and that a
# Player 1 Start or ESC held for two seconds (the X server repeating it all the while) acts once
# on each screen.
#
# Usage: no_window_manager_test.sh FAVORIZER_BINARY DEMO_CABINET_FOLDER
# Exits 77 (skipped) only when Xvfb or xdotool is missing or Xvfb cannot start here.
# shellcheck source=SCRIPTDIR/../support/xvfb_start.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/xvfb_start.sh" xvfb-test "$@"

# --- the program ----------------------------------------------------------------------------

cabinet="$scratch/cabinet"
program_dir="$scratch/program"

start_program() {
    rm -rf -- "$cabinet" "$program_dir"
    cp -R "$demo_cabinet" "$cabinet"
    mkdir -p "$program_dir" "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    cp "$program_source" "$program_dir/favorizer"
    write_favorize_cfg "$program_dir/favorize.cfg" "$cabinet" "$cabinet/config" "$cabinet/config" 0
    env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
        "$program_dir/favorizer" >"$scratch/program.log" 2>&1 &
    app_pid=$!
}

# Only the screen given is up, and the program still runs; waits for it while the program
# catches up with the keys.
only_up() {
    local pattern="$1" title
    visible "$pattern" || return 1
    for title in "$menu_title" "$keyboard_title" "$verify_title" "$error_title" "$delete_title" \
        "$editor_title" "$box_title"; do
        if [[ "$title" != "$pattern" ]] && visible "$title"; then
            return 1
        fi
    done
}

expect_only() {
    local pattern="$1" what="$2" waited
    for ((waited = 0; waited < timeout * 10; waited++)); do
        program_running || fail "$what: the program ended"
        if only_up "$pattern"; then
            return 0
        fi
        sleep 0.1
    done
    fail "$what: the window titled '$pattern' is not the only one up"
}

# The X server's keyboard focus is on the window titled so (not on the root window, as after a
# window that had it went away with no window manager to pass it on).
expect_focus() {
    local pattern="$1" what="$2" waited name=""
    for ((waited = 0; waited < timeout * 10; waited++)); do
        name="$(xdotool getwindowfocus getwindowname 2>/dev/null || true)"
        if [[ "$name" =~ $pattern ]]; then
            return 0
        fi
        sleep 0.1
    done
    fail "$what: the keyboard focus is on '${name:-the root window}', not on '$pattern'"
}

lines() {
    grep -c '' "$1" || true
}

box_title='^favorizer$'

if ! start_screen "${XVFB_TEST_SCREEN:-1024x768x24}"; then
    echo "SKIPPED: Xvfb cannot run here"
    exit "$skip"
fi
# The pointer in a corner the windows leave free: with the X focus fallen to the root window, keys
# would otherwise still reach whatever window lies under it.
pointer_to_corner

# --- after a message box the menu still has the keyboard -------------------------------------

echo "A message box over the menu, then the cabinet's keys"
start_program
wait_window "$menu_title"
rm -- "$cabinet/kabinet.cfg"
press Right 1 # Create: the keyboard
wait_window "$keyboard_title"
press Escape # the menu again, which finds kabinet.cfg gone and says so
wait_window "$box_title"
press Escape # the box closes
wait_window_gone "$box_title"
expect_only "$menu_title" "after the box"
expect_focus "$menu_title" "after the box"
press Right 1 # the menu answers: the keyboard again
wait_window "$keyboard_title"
press Escape
wait_window "$box_title"
press Escape
wait_window_gone "$box_title"
press Escape # ESC on the menu ends the program
wait_program_end

# --- a held Start or ESC acts once on every screen --------------------------------------------

echo "Start and ESC held for two seconds on each screen"
start_program
wait_window "$menu_title"
kabinet="$cabinet/kabinet.cfg"
classics="$cabinet/config/kbfavCLASSICS.map"
classics_lines="$(lines "$classics")"

hold 1 # favourites menu: on to the options menu, Edit (a repeat would open the editor)
expect_only "$menu_title" "Start held on the favourites menu"
hold 1 # Edit: the editor (repeats would add games)
wait_window "$editor_title"
hold Escape # saved, the menu (a repeat would end the program)
wait_window "$menu_title"
expect_only "$menu_title" "ESC held in the editor"
[[ "$(lines "$classics")" == "$classics_lines" ]] || fail "Start held on Edit added games"

press 1 1 # the editor again
wait_window "$editor_title"
press Down
hold 1 # one game added
press Escape
wait_window "$menu_title"
[[ "$(lines "$classics")" == "$((classics_lines + 1))" ]] ||
    fail "Start held in the editor added $(($(lines "$classics") - classics_lines)) games"

press Right # options menu: Create
hold 1      # the keyboard (repeats would type)
wait_window "$keyboard_title"
hold 1 # A typed once
press Up
hold 1 # Done: the name (a repeat would take the description too)
expect_only "$keyboard_title" "Start held on Done for the name"
press Up
hold 1 # Done: the verify screen (a repeat would answer Yes)
wait_window "$verify_title"
grep -q kbfavA "$kabinet" && fail "Start held on Done created the list"
hold 1 # Yes: the list A is created, the menu comes back
wait_window "$menu_title"
expect_only "$menu_title" "Start held on Yes"
grep -q 'kbfavCLASSICS kbfavA$' <(tr -d '\r' <"$kabinet") ||
    fail "Start held on the keyboard did not make exactly the list A: $(grep emulators "$kabinet")"

press Right 1 # Create: the keyboard
wait_window "$keyboard_title"
hold Escape # back to the menu
expect_only "$menu_title" "ESC held on the keyboard"

press Down 1 Down # A, options menu, Delete
hold 1            # the delete screen (a repeat would delete)
wait_window "$delete_title"
grep -q kbfavA "$kabinet" || fail "Start held on Delete deleted the list"
hold Escape # cancelled: the menu
expect_only "$menu_title" "ESC held on the delete screen"
press Down 1 Down 1
wait_window "$delete_title"
hold 1 # deleted: the menu
expect_only "$menu_title" "Start held on the delete screen"
expect_focus "$menu_title" "after the delete screen"
grep -q kbfavA "$kabinet" && fail "the list A was not deleted"
grep -q kbfavCLASSICS "$kabinet" || fail "Start held on the delete screen deleted CLASSICS too"

# The error screen: a list whose files cannot be made (mame.cfg gone from the launcher).
mv "$cabinet/config/mame.cfg" "$scratch/mame.cfg"
press Right 1
wait_window "$keyboard_title"
press 1 Up 1 Up 1 # the name A, no description
wait_window "$verify_title"
press 1 # Yes: it fails
wait_window "$error_title"
hold Escape # the error screen closes over the verify screen, which stays
wait_window_gone "$error_title"
expect_only "$verify_title" "ESC held on the error screen"
expect_focus "$verify_title" "after the error screen"
hold Escape # back to the keyboard (a repeat would go on to the menu)
wait_window "$keyboard_title"
expect_only "$keyboard_title" "ESC held on the verify screen"
press Escape
wait_window "$menu_title"

hold Escape # the program ends
wait_program_end
echo "passed"
