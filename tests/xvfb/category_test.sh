#!/usr/bin/env bash
# The real program on a virtual X screen with no window manager, on a current MAME's whole game
# list (45,294 generated lines) with made-up category files of the real shapes: a genre of
# catver.ini and a folder list's section are chosen from the editor's filter panel, first with
# real key presses and releases, then with a game controller alone; the choice survives a
# restart; "add every shown game" adds exactly the shown games the list lacks; files that are no
# category files are logged once each.
#
# Usage: category_test.sh FAVORIZER_BINARY DEMO_CABINET_FOLDER
# Exits 77 (skipped) only when Xvfb or xdotool is missing or Xvfb cannot start here.
# shellcheck source=SCRIPTDIR/../support/xvfb_start.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/xvfb_start.sh" category-test "$@"
# shellcheck source=SCRIPTDIR/../support/pad_flows.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/pad_flows.sh"

cabinet="$scratch/cabinet"
program_dir="$scratch/program"
config="$cabinet/config"
map="$config/kbfavCLASSICS.map"
open_test_pad

question_title='^Add every shown game$'

# The cabinet: the demo's, with mame.map replaced by 45,294 games g00000 to g45293. Beside the
# program, a folder list of one section and one of two; beside mame.map (its folder spelled
# otherwise) catver.ini, 100,000 games in five genres, every 97th mature, and two files that are
# no category files.
rm -rf -- "$cabinet" "$program_dir"
cp -R "$demo_cabinet" "$cabinet"
rm -rf -- "$config/folders" # the demo's own category files
mkdir -p "$program_dir/folders" "$config/Folders" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cp "$program_source" "$program_dir/favorizer"
write_favorize_cfg "$program_dir/favorize.cfg" "$cabinet" "$config" "$config" 0
awk 'BEGIN { for (i = 0; i < 45294; i++) printf "g%05d \"Game %d\"\r\n", i, i }' >"$config/mame.map"
awk 'BEGIN { printf "[ROOT_FOLDER]\r\n"; for (i = 10; i < 20; i++) printf "g%05d\r\n", i }' \
    >"$program_dir/folders/Test Picks.ini"
awk 'BEGIN {
    printf "[FOLDER_SETTINGS]\r\nRootFolderIcon mame\r\n\r\n[1_Player]\r\n"
    for (i = 0; i < 1000; i++) printf "g%05d\r\n", i
    printf "[2_Players]\r\n"
    for (i = 0; i < 45294; i += 7) printf "g%05d\r\n", i
}' >"$program_dir/folders/players.ini"
awk 'BEGIN {
    split("Fighter Maze Platform Shooter Sports", genre, " ")
    printf ";; catver.ini\r\n[Category]\r\n"
    for (i = 0; i < 100000; i++)
        printf "g%05d=%s / Sub-genre%s\r\n", i, genre[i % 5 + 1], (i % 97 == 0 ? " * Mature *" : "")
    printf "\r\n[VerAdded]\r\ng00000=.37b5\r\n"
}' >"$config/Folders/catver.ini"
printf 'PK\003\004\000\001' >"$config/Folders/broken.ini"
printf 'just notes\r\n' >"$config/Folders/notes.ini"
listed_before="$(grep -c '' "$map")"
shown_two_players=6471 # g00000, g00007, ... g45290

start_program() {
    env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" FAVORIZER_TEST_PAD="$fifo" \
        "$program_dir/favorizer" >"$scratch/program.log" 2>&1 &
    app_pid=$!
    wait_window "$menu_title"
}

# Both action buttons at once, as a hand presses them: Ctrl and Alt on the keyboard.
both_keys() {
    xdotool keydown ctrl keydown alt
    sleep 0.1
    xdotool keyup alt keyup ctrl
    sleep 0.3
}

listed() {
    grep -c "^$1 " "$map"
}

if ! start_screen "${XVFB_TEST_SCREEN:-1024x768x24}"; then
    echo "SKIPPED: Xvfb cannot run here"
    exit "$skip"
fi
pointer_to_corner

echo "Keys: the 2-player games chosen, the second of them added"
start_program
press 1 1 # CLASSICS, Edit
wait_window "$editor_title"
both_keys
both_keys # the filter panel
# All games, Test Picks, players: 1 Player, players: 2 Players
press Down Down Down 1
press Down 1 Escape # the second shown game, g00007, added; saved
wait_window "$menu_title"
[[ "$(listed g00007)" == 1 && "$(listed g00001)" == 0 ]] ||
    fail "the second shown game was not g00007: $(tail -n 2 "$map")"
grep -qx 'filter=players: 2 Players' <(tr -d '\r' <"$program_dir/gamefilter.txt") ||
    fail "the choice was not kept: $(cat "$program_dir/gamefilter.txt")"
press Escape
wait_program_end

echo "Controller, after a restart: the same games shown; every shown game added once"
wire_known_pad
start_program
pad "attach known"
sleep 0.3
tap start start # CLASSICS, Edit
wait_window "$editor_title"
tap down down start # the third shown game: g00014
both_pad() {
    pad "button 0 down"
    pad "button 1 down"
    sleep 0.1
    pad "button 1 up"
    pad "button 0 up"
    sleep 0.3
}
both_pad
both_pad
# From the filter in use up past All games, round to the last line: add every shown game.
tap up up up up start
wait_window "$question_title"
tap start # Yes
wait_window_gone "$question_title"
tap exit # saved
wait_window "$menu_title"
[[ "$(listed g00014)" == 1 ]] || fail "the restart forgot the choice: g00014 not listed once"
[[ "$(grep -c '' "$map")" == $((listed_before + shown_two_players)) ]] ||
    fail "$(grep -c '' "$map") games listed, not $listed_before + $shown_two_players"
[[ "$(listed g00007)" == 1 && "$(listed g45290)" == 1 && "$(listed g00001)" == 0 ]] ||
    fail "not exactly the shown games were added"
[[ "$(grep -c '' "$config/kbfavCLASSICS.rom")" == "$(grep -c '' "$map")" ]] ||
    fail "the rom file does not match the map file"

echo "Controller: a genre chosen; the skipped files were logged once each, over both runs"
tap start start
wait_window "$editor_title"
both_pad
both_pad
tap down down down start # Fighter, Maze, Platform: chosen
tap exit
wait_window "$menu_title"
grep -qx 'filter=Platform' <(tr -d '\r' <"$program_dir/gamefilter.txt") ||
    fail "the genre was not kept: $(cat "$program_dir/gamefilter.txt")"
for file in broken notes; do
    [[ "$(grep -c "MAME category file skipped: $file: not a category file" \
        "$program_dir/favorlog.txt")" == 1 ]] ||
        fail "$file.ini is not logged once: $(cat "$program_dir/favorlog.txt")"
done
tap exit
wait_program_end
echo "PASSED"
