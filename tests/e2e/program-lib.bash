# Sourced by the end-to-end scenarios, which run on the private X server of x11-session (or in
# the sway session of sway-scenario): a scratch folder and cleanup, deadline polls, the program's
# launch with its own home and preferences, windows found by their titles, the user's actions
# through xdotool, and what /proc says about the processes. The sourcing script sets `name` (for
# its messages) first, and `program` (what `launch` starts) where it launches one.

scratch=$(mktemp -d "${TMPDIR:-/tmp}/glintdeck-${name}.XXXXXX")
started=()
cleanup() {
    local status=$?
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${started[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$scratch"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

source "$(dirname "${BASH_SOURCE[0]}")/step.bash"
fail() {
    echo "$name: FAILED: $*" >&2
    for log in "$scratch"/*.log; do
        [[ -s "$log" ]] || continue
        echo "--- $(basename "$log") (last 60 lines)" >&2
        tail -n 60 "$log" >&2
    done
    if declare -F on_failure >/dev/null; then on_failure >&2; fi
    exit 1
}

# poll SECONDS COMMAND...: succeeds as soon as COMMAND does, fails after SECONDS.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# The program's own home and XDG folders (and temporary folder), so that whatever appears in
# them is the program's doing and nobody else's.
export HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/runtime
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache
export XDG_DATA_HOME=$HOME/.local/share XDG_STATE_HOME=$HOME/.local/state
export TMPDIR=$scratch/tmp
mkdir -p "$HOME" "$XDG_CONFIG_HOME/glintdeck" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
preferences=$XDG_CONFIG_HOME/glintdeck/defaults.json
autostart_entry=$XDG_CONFIG_HOME/autostart/org.glintdeck.Glintdeck.desktop

# write_preferences JSON: what the user chose before this run.
write_preferences() { printf '%s\n' "$1" >"$preferences"; }
expect_valid_preferences() {
    python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$preferences" ||
        fail "the preferences are no longer valid JSON"
}

# launch [LOG]: starts the program in the background, its output in LOG.log under the scratch
# folder (default program.log), and sets program_pid.
launch() {
    "$program" >"$scratch/${1:-program}.log" 2>&1 &
    program_pid=$!
    started+=("$program_pid")
}
# launch_shown [LOG]: launches it and waits for its strip, which it shows when it starts.
launch_shown() {
    launch "$@"
    poll 30 shown "$STRIP" || fail "the strip did not appear at launch"
}

alive() { kill -0 "$1" 2>/dev/null; }
exited() { ! alive "$1"; }
# ended PID WHAT [SECONDS]: waits at most SECONDS (default 15) for PID to end and sets
# exit_status; fails when it is still there or a signal ended it.
ended() {
    poll "${3:-15}" exited "$1" || fail "$2 is still running after ${3:-15} s"
    local status=0
    wait "$1" || status=$?
    ((status < 128)) || fail "$2 died of signal $((status - 128))"
    exit_status=$status
}
# expect_exit_0 PID WHAT [SECONDS]: PID ends, with status 0.
expect_exit_0() {
    ended "$@"
    ((exit_status == 0)) || fail "$2 exited with status $exit_status"
}
# stop_program PID: asks it to quit as a session's end does (SIGTERM), and it exits with 0.
stop_program() {
    kill -TERM "$1" 2>/dev/null || true
    expect_exit_0 "$1" "the program after SIGTERM"
}

# The glintdeck processes with this scenario's runtime folder, wherever they were started.
instances() {
    local pid count=0
    for pid in $(pgrep -x glintdeck); do
        grep -qsxz "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" "/proc/$pid/environ" && count=$((count + 1))
    done
    echo "$count"
}
one_instance() { [[ $(instances) == 1 ]] || fail "$(instances) glintdeck processes, not one"; }
# The single-instance socket's path on this display (see
# platform/linux/session/single_instance.h), and how many sockets the kernel lists under it (a
# pending connection shows there too).
instance_path() {
    local display=${DISPLAY#:}
    echo "$XDG_RUNTIME_DIR/glintdeck-:${display%%.*}"
}
instance_sockets() { awk -v path="$(instance_path)" '$NF == path' /proc/net/unix | wc -l; }

# sanitizer_report LOG: succeeds when LOG holds a sanitizer's report.
sanitizer_report() {
    grep -qE 'ERROR: (Address|Leak|Thread)Sanitizer|runtime error:|SUMMARY: [A-Za-z]+Sanitizer' "$1"
}

# The first visible window titled exactly NAME. xdotool's own matching ignores case (the strip
# and a menu differ only in case), and misses menus, whose name only the program's class gives.
window_named() {
    local window
    for window in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) \
        $(xdotool search --onlyvisible --class '^glintdeck$' 2>/dev/null); do
        if [[ "$(xdotool getwindowname "$window" 2>/dev/null)" == "$1" ]]; then
            echo "$window"
            return
        fi
    done
}
shown() { [[ -n "$(window_named "$1")" ]]; }
gone() { ! shown "$1"; }
expect_shown() { poll 10 shown "$1" || fail "${2:-no window named $1 on screen}"; }
expect_gone() { poll 10 gone "$1" || fail "${2:-$1 is still on screen}"; }
STRIP='Glintdeck' HINT='Glintdeck Hint' CARD='Glintdeck Detail' SETTINGS='Glintdeck Settings'
MENU='glintdeck' # a menu has no title of its own: it gets the program's name

# Sets X, Y, WIDTH, HEIGHT to the place of the first visible window named NAME.
geometry_of() {
    local window
    window=$(window_named "$1")
    [[ -n "$window" ]] || fail "no window named $1 to measure"
    eval "$(xdotool getwindowgeometry --shell "$window")"
}
# rect_of NAME: "X Y WIDTH HEIGHT" of the first visible window named NAME.
# Asks the X server itself, where a scenario's own geometry_of may ask a compositor.
rect_of() {
    local X Y WIDTH HEIGHT SCREEN WINDOW window
    window=$(window_named "$1")
    [[ -n "$window" ]] || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$X $Y $WIDTH $HEIGHT"
}
# apart X Y WIDTH HEIGHT X Y WIDTH HEIGHT: the two rectangles share no pixel.
apart() {
    (($1 + $3 <= $5 || $5 + $7 <= $1 || $2 + $4 <= $6 || $6 + $8 <= $2))
}
# clear_of_strip NAME: the window (the card, the hint) shares no pixel with the strip.
# shellcheck disable=SC2046  # two rectangles, four numbers each
clear_of_strip() { apart $(rect_of "$STRIP") $(rect_of "$1"); }
strip_at() {
    geometry_of "$STRIP"
    [[ "$X,$Y" == "$1,$2" ]]
}

# summon shown|hidden: presses the summon key and waits for the strip to be so.
summon_key=ctrl+alt+super+q
press_summon_key() { xdotool key "$summon_key"; }
summon() {
    press_summon_key
    if [[ $1 == shown ]]; then
        expect_shown "$STRIP" "the summon key did not show the strip"
    else
        expect_gone "$STRIP" "the summon key did not hide the strip"
    fi
}

# The middles of the first three tiles (processor, memory, disk) at the default strip height,
# from the strip's left edge.
tile_middles=(78 166 280)
# tap_tile TILE: clicks the strip's TILE-th tile, at tapped_x.
tap_tile() {
    geometry_of "$STRIP"
    tapped_x=$((X + tile_middles[$1]))
    xdotool mousemove "$tapped_x" $((Y + HEIGHT / 2)) click 1
}
# open_card TILE: taps the tile and waits for its detail card.
open_card() {
    tap_tile "$1"
    expect_shown "$CARD" "tapping tile $1 opened no card"
}

# start_editor GEOMETRY: an xterm titled "typing" with the keyboard, what is typed into it
# landing in $scratch/typed; sets editor to its window and editor_x, editor_y to its middle.
start_editor() {
    xterm -fa Monospace -fs 10 -geometry "$1" -title typing -e sh -c 'cat >"$1"' sh \
        "$scratch/typed" &
    started+=($!)
    expect_shown typing "xterm did not appear"
    editor=$(window_named typing)
    focus_editor
    geometry_of typing
    editor_x=$((X + WIDTH / 2)) editor_y=$((Y + HEIGHT / 2))
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
has_focus() { [[ "$(xdotool getwindowfocus)" == "$editor" ]]; }
# click_editor [BUTTON]: a click (default: the left button) where nothing of ours is.
click_editor() { xdotool mousemove "$editor_x" "$editor_y" click "${1:-1}"; }
# focus_editor: gives the xterm the keyboard, through the window manager where one runs.
focus_editor() {
    if wm_running; then
        xdotool windowactivate --sync "$editor"
    else
        xdotool windowfocus --sync "$editor"
    fi
    poll 10 has_focus || fail "xterm did not get the focus"
}
settings_focused() { [[ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" == "$SETTINGS" ]]; }
