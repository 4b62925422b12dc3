# shellcheck shell=bash
# What the tests that drive the real program with a virtual game controller share: the wiring of
# the two controllers, taps on them, teaching the encoder and one list's life with a controller
# alone. The caller defines `fail`, `wait_window` and `wait_window_gone` (with the windows'
# titles, from xvfb_session.sh), and `pad` unless it opens the test pad here, and sets
# program_dir, kabinet and config.

# The FIFO the program reads the test pad's commands from, $scratch/pad, opened both ways on
# descriptor 7 so neither end ever waits for the other; `pad COMMAND` writes one command.
# shellcheck disable=SC2154  # scratch is the caller's
open_test_pad() {
    fifo="$scratch/pad"
    mkfifo "$fifo"
    exec 7<>"$fifo"
    # shellcheck disable=SC2317  # called by the test
    pad() {
        echo "$1" >&7
    }
}

# The controller's wiring: a control's name, then the test pad's words for pressing and letting
# it go.
declare -A down up
wire() {
    down[$1]="$2"
    up[$1]="$3"
}
wire_known_pad() {
    wire up "button 11 down" "button 11 up"
    wire down "button 12 down" "button 12 up"
    wire left "button 13 down" "button 13 up"
    wire right "button 14 down" "button 14 up"
    wire start "button 6 down" "button 6 up"
    wire exit "button 4 down" "button 4 up"
}
# The encoder as it is taught below: not its usual wiring.
wire_encoder() {
    wire up "hat up" "hat centred"
    wire down "hat down" "hat centred"
    wire left "axis 0 -32768" "axis 0 0"
    wire right "axis 0 32767" "axis 0 0"
    wire start "button 3 down" "button 3 up"
    wire exit "button 2 down" "button 2 up"
}

# Teaches the encoder from its own inputs, on the screen that asks for them the first time.
teach_encoder() {
    local control
    wait_window "$controls_title"
    for control in up down left right start exit; do
        tap "$control"
    done
    tap start # the first action button skipped
    pad "button 1 down"
    sleep 0.1
    pad "button 1 up"
    wait_window_gone "$controls_title"
    grep -q 'start:b3,back:b2,b:b1,' "$program_dir/controllers.txt" ||
        fail "the taught mapping is not kept: $(cat "$program_dir/controllers.txt")"
}

# Presses each control named and lets it go, as a hand on the controls would.
tap() {
    local control
    for control in "$@"; do
        pad "${down[$control]}"
        sleep 0.1
        pad "${up[$control]}"
        sleep 0.15
    done
}

# Creates the list A, adds a game to it, saves it and deletes it, with the controller alone; a
# Start held for a second on the keyboard types once. With "deleted before" as the second
# argument, the games an earlier A was deleted with are offered back and refused with game exit.
list_with_controller() {
    local kind="$1" deleted_before="${2:-}"
    tap right start # Create: the keyboard
    wait_window "$keyboard_title"
    # Start held for a second on A: typed once.
    pad "${down[start]}"
    sleep 1
    pad "${up[start]}"
    sleep 0.15
    tap up start     # Done: the name is A
    tap up start     # Done: no description
    wait_window "$verify_title"
    tap start        # Yes
    if [[ -n "$deleted_before" ]]; then
        wait_window "$box_title"
        tap exit # No: the list stays empty
        wait_window_gone "$box_title"
    fi
    wait_window "$menu_title"
    grep -q 'kbfavCLASSICS kbfavA' <(tr -d '\r' <"$kabinet") ||
        fail "$kind: the list A was not created: $(grep emulators "$kabinet")"

    tap down start start # A, then Edit: the editor
    wait_window "$editor_title"
    tap down start # a game added
    tap exit       # saved
    wait_window "$menu_title"
    [[ "$(grep -c '' "$config/kbfavA.map")" == 1 ]] ||
        fail "$kind: the list A holds $(grep -c '' "$config/kbfavA.map") games, not 1"
    [[ "$(grep -c '' "$config/kbfavA.rom")" == 1 ]] || fail "$kind: kbfavA.rom is not 1 line"

    tap down start down start # A, then Delete
    wait_window "$delete_title"
    tap start
    wait_window "$menu_title"
    grep -q kbfavA "$kabinet" && fail "$kind: the list A was not deleted"
    [[ -e "$config/kbfavA.map" ]] && fail "$kind: kbfavA.map is still there"

}

# The joystick held down on the options menu, let go of by unplugging before it repeats: a move
# that went on would reach Cancel, and Start there would end the program.
unplugged_while_held() {
    local kind="$1"
    tap right # Create
    pad "${down[down]}"
    sleep 0.2 # one move: Edit
    pad detach
    sleep 1
    # Plugged in again, the controller works at once, with nothing held.
    pad "attach $kind"
    sleep 0.3
    tap start # Edit: the editor of CLASSICS
    wait_window "$editor_title"
    tap exit
    wait_window "$menu_title"
}
