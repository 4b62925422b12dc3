#!/usr/bin/env bash
# The real program on a virtual X screen with no window manager, driven by real key presses: a
# list edited three times and deleted leaves four versions in backups/ beside the program; created
# again, the list is offered its games back, which Start (Yes) restores byte for byte and ESC (No)
# leaves empty; the oldest version goes when an eleventh comes; and a backups folder that cannot
# be written stops the save on the error screen with the list's files untouched.
#
# Usage: versions_test.sh FAVORIZER_BINARY DEMO_CABINET_FOLDER
# Exits 77 (skipped) only when Xvfb or xdotool is missing or Xvfb cannot start here.
# shellcheck source=SCRIPTDIR/../support/xvfb_start.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/xvfb_start.sh" versions-test "$@"

cabinet="$scratch/cabinet"
program_dir="$scratch/program"
config="$cabinet/config"
kept="$program_dir/backups/kbfavA"
cp -R "$demo_cabinet" "$cabinet"
mkdir -p "$program_dir" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cp "$program_source" "$program_dir/favorizer"
write_favorize_cfg "$program_dir/favorize.cfg" "$cabinet" "$config" "$config" 0

versions() {
    find "$kept" -maxdepth 1 -name '*.map' 2>/dev/null | wc -l
}

oldest_version() {
    find "$kept" -maxdepth 1 -name '*.map' -printf '%f\n' | sort | head -n 1
}

expect_versions() {
    [[ "$(versions)" == "$1" ]] || fail "$2: $(versions) versions kept, not $1"
}

# The list A: CLASSICS stands first in the menu.
edit_adding_a_game() {
    press Down 1 1
    wait_window "$editor_title"
    press 1 Escape
    wait_window "$menu_title"
}

delete_list() {
    press Down 1 Down 1
    wait_window "$delete_title"
    press 1
    wait_window "$menu_title"
}

# Types the name A with no description and answers Yes.
create_list() {
    press Right 1
    wait_window "$keyboard_title"
    press 1 Up 1 Up 1
    wait_window "$verify_title"
    press 1
}

if ! start_screen "${XVFB_TEST_SCREEN:-1024x768x24}"; then
    echo "SKIPPED: Xvfb cannot run here"
    exit "$skip"
fi
pointer_to_corner

env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
    -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
    "$program_dir/favorizer" >"$scratch/program.log" 2>&1 &
app_pid=$!
wait_window "$menu_title"

echo "A new list edited three times, then deleted"
create_list
wait_window "$menu_title"
visible "$box_title" && fail "a list never deleted was offered games"
for edit in 1 2 3; do
    edit_adding_a_game
    [[ "$(grep -c '' "$config/kbfavA.map")" == "$edit" ]] || fail "edit $edit was not saved"
done
expect_versions 3 "after three saves"
cp "$config/kbfavA.map" "$scratch/last.map"
cp "$config/kbfavA.rom" "$scratch/last.rom"
first="$(oldest_version)"
delete_list
[[ -e "$config/kbfavA.map" ]] && fail "the list's files were not deleted"
expect_versions 4 "after the deletion"
ls "$kept"/*_deleted.cfg >/dev/null 2>&1 || fail "the deletion kept no .cfg"

echo "Created again: Start brings its games back"
create_list
wait_window "$box_title"
press 1
wait_window_gone "$box_title"
wait_window "$menu_title"
cmp -s "$config/kbfavA.map" "$scratch/last.map" || fail "the map file came back different"
cmp -s "$config/kbfavA.rom" "$scratch/last.rom" || fail "the rom file came back different"

echo "Deleted and created again: ESC leaves it empty"
delete_list
create_list
wait_window "$box_title"
press Escape
wait_window_gone "$box_title"
wait_window "$menu_title"
[[ -f "$config/kbfavA.map" && ! -s "$config/kbfavA.map" && ! -s "$config/kbfavA.rom" ]] ||
    fail "No did not leave the list empty"
expect_versions 5 "after the second deletion"

echo "Ten versions at most"
for _ in 1 2 3 4 5; do
    edit_adding_a_game
done
expect_versions 10 "after ten"
[[ "$(oldest_version)" == "$first" ]] || fail "a version went before an eleventh came"
edit_adding_a_game
expect_versions 10 "after eleven"
[[ -e "$kept/$first" ]] && fail "the oldest version $first is still kept"

echo "A backups folder that cannot be written stops the save"
# A file in its place: refused even to root, whom no permission stops.
rm -rf -- "$kept"
touch "$kept"
cp "$config/kbfavA.map" "$scratch/before.map"
cp "$config/kbfavA.rom" "$scratch/before.rom"
press Down 1 1
wait_window "$editor_title"
press 1 Escape
wait_window "$error_title"
visible "$editor_title" || fail "the editor closed on a save that did not happen"
grep -q 'error# 75 ---.*could not be kept' "$program_dir/favorlog.txt" ||
    fail "the failure was not logged: $(cat "$program_dir/favorlog.txt" 2>/dev/null)"
[[ -e "$program_dir/favorize.cfg" ]] || fail "the settings file went"
press Escape # the error screen closes over the editor
wait_window_gone "$error_title"
press Escape # fails again: back to the menu, unsaved, with the error shown
wait_window "$error_title"
press Escape
wait_window "$menu_title"
cmp -s "$config/kbfavA.map" "$scratch/before.map" || fail "the map file changed"
cmp -s "$config/kbfavA.rom" "$scratch/before.rom" || fail "the rom file changed"

press Escape
wait_program_end
echo "passed"
