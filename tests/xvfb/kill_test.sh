#!/usr/bin/env bash
# The real program on a virtual X screen, killed (SIGKILL) at random moments of what it writes:
# saving a list of 15,000 games in the editor, creating a list and deleting it. After each kill
# the program is started again, and once its menu is up every file must be whole: kabinet.cfg
# the launcher's own lines and a known emulators line, each list's rom file the ROM names of its
# map file line for line, and no temporary file or journal left behind.
#
# Usage: kill_test.sh FAVORIZER_BINARY DEMO_CABINET_FOLDER
# FAVORIZER_KILLS sets how many kills (200 by default). Exits 77 (skipped) only when Xvfb or
# xdotool is missing or Xvfb cannot start here.
set -uo pipefail

program_source="$1"
demo_cabinet="$2"
kills="${FAVORIZER_KILLS:-200}"
timeout="${XVFB_TEST_TIMEOUT:-20}"
key_gap=0.05
key_settle=0.05
window_settle=0.05
window_polls_per_second=50
skip=77

scripts="$(dirname "${BASH_SOURCE[0]}")/../../scripts"
# shellcheck source=SCRIPTDIR/../../scripts/common.sh
source "$scripts/common.sh"
# shellcheck source=SCRIPTDIR/../../scripts/xvfb_session.sh
source "$scripts/xvfb_session.sh"
skip_without_xvfb_tools "$skip"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/favorizer-kill-test.XXXXXX")"

cleanup() {
    stop_pid "$app_pid"
    stop_pid "$xvfb_pid"
    [[ -n "${KEEP_SCRATCH:-}" ]] || rm -rf -- "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAILED after $done_kills kills: $*" >&2
    report_session
    exit 1
}

cabinet="$scratch/cabinet"
program_dir="$scratch/program"
cp -R "$demo_cabinet" "$cabinet"
mkdir -p "$program_dir" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cp "$program_source" "$program_dir/favorizer"
write_favorize_cfg "$program_dir/favorize.cfg" "$cabinet" "$cabinet/config" "$cabinet/config" 0
# A list long enough that its save takes a while.
awk 'BEGIN { for (i = 0; i < 20000; i++) printf "g%05d \"Made-up Game %d\"\r\n", i, i }' \
    >"$cabinet/config/mame.map"
head -n 15000 "$cabinet/config/mame.map" >"$cabinet/config/kbfavCLASSICS.map"
tr -d '\r' <"$cabinet/config/kbfavCLASSICS.map" | sed 's/ .*//; s/$/\r/' \
    >"$cabinet/config/kbfavCLASSICS.rom"
grep -v -i '^emulators =' "$cabinet/kabinet.cfg" >"$scratch/other-lines"

start_program() {
    env -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
        -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
        "$program_dir/favorizer" >>"$scratch/program.log" 2>&1 &
    app_pid=$!
}

# Every file whole, as the menu finds them after a start.
check_files() {
    local emulators field key map rom
    grep -v -i '^emulators =' "$cabinet/kabinet.cfg" | cmp -s - "$scratch/other-lines" ||
        fail "kabinet.cfg lost or changed a line of the launcher's own"
    emulators="$(grep -i '^emulators =' "$cabinet/kabinet.cfg" | tr -d '\r')"
    [[ "$emulators" =~ ^emulators\ =\ mame\ kbfavCLASSICS(\ kbfavA)?$ ]] ||
        fail "kabinet.cfg's emulators line is '$emulators'"
    for key in CLASSICS A; do
        map="$cabinet/config/kbfav$key.map"
        rom="$cabinet/config/kbfav$key.rom"
        [[ -e "$map" && -e "$rom" ]] || continue
        cmp -s <(tr -d '\r' <"$map" | sed 's/[^A-Za-z0-9].*//') <(tr -d '\r' <"$rom") ||
            fail "kbfav$key.rom ($(grep -c '' "$rom") lines) is not the pair of its map file" \
                "($(grep -c '' "$map") lines)"
    done
    local left
    left="$(find "$cabinet" "$program_dir" -name '.*.new*' -o -name favorizer.journal)"
    [[ -z "$left" ]] || fail "left behind: $left"
}

# Presses the key that starts a write and kills the program a random moment later, 2 to 12 ms
# from the start of xdotool, which itself takes some 15 ms to return: the write is over by then.
press_and_kill() {
    local sender
    xdotool keydown "$1" &
    sender=$!
    sleep "$(printf '0.%04d' $((20 + RANDOM % 100)))"
    kill -KILL "$app_pid" 2>/dev/null
    wait "$sender"
    xdotool keyup "$1"
    wait "$app_pid" 2>/dev/null
    app_pid=""
    # Whether the kill caught a write half done, which the next start has to finish.
    if [[ -n "$(find "$cabinet" "$program_dir" -name '.*.new*' -o -name favorizer.journal)" ]]; then
        interrupted=$((interrupted + 1))
    fi
}

if ! start_screen 1024x768x24; then
    echo "SKIPPED: Xvfb cannot run here"
    exit "$skip"
fi
pointer_to_corner

done_kills=0
interrupted=0
saves=0
changes=0
start_program
while ((done_kills < kills)); do
    wait_window "$menu_title"
    check_files
    if ((done_kills % 2 == 0)); then
        # The editor: one game more or less, then ESC saves.
        press 1 1
        wait_window "$editor_title"
        if ((RANDOM % 2)); then press Down 1; else press Right 1; fi
        press_and_kill Escape
        saves=$((saves + 1))
    elif grep -q kbfavA "$cabinet/kabinet.cfg"; then
        press Down 1 Down 1
        wait_window "$delete_title"
        press_and_kill 1
        changes=$((changes + 1))
    else
        press Right 1
        wait_window "$keyboard_title"
        press 1 Up 1 Up 1
        wait_window "$verify_title"
        press_and_kill 1
        changes=$((changes + 1))
    fi
    done_kills=$((done_kills + 1))
    start_program
done
wait_window "$menu_title"
check_files
press Escape
wait_program_end
echo "passed: $done_kills kills ($saves in saves, $changes in creations and deletions)," \
    "$interrupted of them in the middle of a write"
