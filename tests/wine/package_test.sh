#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR/../../scripts
# The Windows package as a cabinet owner uses it: unzipped into a fresh folder on drive C: of a
# Wine prefix, pointed at a copy of the demo cabinet by a favorize.cfg with Windows paths
# (c:\...), and driven with the cabinet's keys on an X screen with no window manager. Creates a
# list, adds a game to it, deletes it again, and checks the launcher's files after each step.
# Prints how long each start took until the menu showed.
#
# Usage: package_test.sh PACKAGE_ZIP DEMO_CABINET_FOLDER
# Environment: DISPLAY (an X screen with no window manager), WINEPREFIX (a ready prefix), WINE
# (the wine64 loader); scripts/build-windows.sh sets all three.
set -uo pipefail

package_zip="$1"
demo_cabinet="$2"
timeout="${WINE_TEST_TIMEOUT:-60}"

scratch="$(mktemp -d "$WINEPREFIX/drive_c/favorizer-package-test.XXXXXX")"
scripts="$(dirname "${BASH_SOURCE[0]}")/../../scripts"
# shellcheck source=SCRIPTDIR/../../scripts/common.sh
source "$scripts/common.sh"
# shellcheck source=SCRIPTDIR/../../scripts/xvfb_session.sh
source "$scripts/xvfb_session.sh"

cleanup() {
    stop_pid "$app_pid"
    rm -rf -- "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAILED: $*" >&2
    report_session
    if [[ -f "$program_dir/favorlog.txt" ]]; then
        echo "--- favorlog.txt:" >&2
        cat "$program_dir/favorlog.txt" >&2
    fi
    exit 1
}

# The same folder as Windows sees it.
windows_path() {
    local inside="${1#"$WINEPREFIX/drive_c/"}"
    echo "c:\\${inside//\//\\}"
}

unzip -q "$package_zip" -d "$scratch" || fail "cannot unzip $package_zip"
[[ "$(unzip -Z1 "$package_zip" | cut -d/ -f1 | sort -u)" == favorizer ]] ||
    fail "the package does not unzip into the one folder favorizer"
program_dir="$scratch/favorizer"
[[ -f "$program_dir/favorizer.exe" ]] || fail "no favorizer.exe at the top of the package"
[[ -s "$program_dir/LiberationSans-LICENSE.txt" ]] || fail "no licence of the built-in face in the package"
cabinet="$scratch/cabinet"
cp -R "$demo_cabinet" "$cabinet"
kabinet="$cabinet/kabinet.cfg"
config="$cabinet/config"
original_kabinet="$scratch/kabinet.cfg.original"
cp "$kabinet" "$original_kabinet"

write_favorize_cfg "$program_dir/favorize.cfg" "$(windows_path "$cabinet")" \
    "$(windows_path "$config")" "$(windows_path "$config")" 0
cp "$program_dir/favorize.cfg" "$scratch/favorize.cfg.original"

# Starts the program from the folder given, as a launcher may, and waits for the menu.
start_program() {
    local from="$1" started waited
    started="$(date +%s%N)"
    (cd "$from" && exec "$WINE" "$program_dir/favorizer.exe") >"$scratch/program.log" 2>&1 &
    app_pid=$!
    for ((waited = 0; waited < timeout * 50; waited++)); do
        if visible "$menu_title"; then
            echo "start-up to the menu: $((($(date +%s%N) - started) / 1000000)) ms"
            sleep 0.5
            return 0
        fi
        program_running || fail "the program ended before its menu showed"
        sleep 0.02
    done
    fail "the menu did not show within ${timeout}s"
}

# shellcheck source=SCRIPTDIR/../support/pad_flows.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/pad_flows.sh"

emulators_line() {
    grep -a '^emulators' "$kabinet" | tr -d '\r'
}

pointer_to_corner

echo "Start and ESC held on the menu and in the editor act once"
start_program "$program_dir"
classics="$config/kbfavCLASSICS.map"
cp "$classics" "$scratch/classics.original"
hold 1 # the options menu, Edit (a repeat would open the editor)
visible "$editor_title" && fail "Start held on the menu opened the editor"
hold 1 # the editor (repeats would add games)
wait_window "$editor_title"
hold Escape # saved: the menu (a repeat would end the program)
wait_window "$menu_title"
cmp -s "$classics" "$scratch/classics.original" || fail "Start held on Edit changed CLASSICS"

echo "Create the list DEMO and add a game to it"
press Right 1 # the options menu, Create: the keyboard
wait_window "$keyboard_title"
# D (3 right of A), E, M (down and left from E), then O, which the cursor slot previews.
press Right Right Right 1 Right 1 Down Left 1 Right Right 1
# Left from O walks back past A to Done; Done, then Done again for an empty description.
press_times 16 Left
press 1 Up 1
wait_window "$verify_title"
press 1 # Yes
wait_window_gone "$verify_title"
wait_window "$menu_title"
[[ "$(emulators_line)" == "$(tr -d '\r' <"$original_kabinet" | grep '^emulators') kbfavDEMO" ]] ||
    fail "kabinet.cfg does not list DEMO after CLASSICS: $(emulators_line)"
for file in kbfavDEMO.cfg kbfavDEMO.map kbfavDEMO.rom; do
    [[ -f "$config/$file" ]] || fail "$file was not made"
done
[[ ! -s "$config/kbfavDEMO.map" ]] || fail "the new list is not empty"

press Down 1 1 # DEMO, Edit: the editor
wait_window "$editor_title"
press Down Down 1 # the third game
press Escape      # saved: the menu
wait_window_gone "$editor_title"
wait_window "$menu_title"
[[ "$(grep -c '' "$config/kbfavDEMO.map")" == 1 ]] || fail "DEMO does not hold one game"
game="$(tr -d '\r' <"$config/kbfavDEMO.map")"
grep -qaF "$game" "$config/mame.map" || fail "DEMO holds '$game', which is not in mame.map"
[[ "$(tail -c 2 "$config/kbfavDEMO.map" | od -An -tx1 | tr -d ' ')" == 0d0a ]] ||
    fail "the line in kbfavDEMO.map does not end with CR LF"

press Escape # the program ends
wait_program_end

echo "Start again, from another folder, and delete DEMO"
start_program "$cabinet"
press Down 1 Down 1 # DEMO, Edit, down to Delete: the delete screen
wait_window "$delete_title"
press 1 # deleted: the menu
wait_window_gone "$delete_title"
wait_window "$menu_title"
cmp -s "$kabinet" "$original_kabinet" || fail "kabinet.cfg differs from the original: $(emulators_line)"
for file in kbfavDEMO.cfg kbfavDEMO.map kbfavDEMO.rom; do
    [[ ! -e "$config/$file" ]] || fail "$file was not deleted"
done
press Escape
wait_program_end

echo "A list's life with a game controller alone: a pad Windows knows, then an encoder it does not"
# The virtual controller's commands, appended to a file of each run's own: Windows has no FIFOs.
pad() {
    echo "$1" >>"$pad_file"
}
for kind in known encoder; do
    if [[ "$kind" == known ]]; then wire_known_pad; else wire_encoder; fi
    pad_file="$scratch/pad-$kind.txt"
    : >"$pad_file"
    FAVORIZER_TEST_PAD="$(windows_path "$pad_file")" start_program "$program_dir"
    pad "attach $kind"
    sleep 0.3
    if [[ "$kind" == encoder ]]; then
        teach_encoder
        # Both runs share the program folder, so this one finds the A the first one deleted.
        list_with_controller "$kind" "deleted before"
    else
        list_with_controller "$kind"
    fi
    unplugged_while_held "$kind"
    tap exit # game exit on the menu: the program ends
    wait_program_end
done

cmp -s "$program_dir/favorize.cfg" "$scratch/favorize.cfg.original" || fail "favorize.cfg changed"
[[ ! -e "$program_dir/favorlog.txt" ]] || fail "the program logged an error"
echo "passed"
