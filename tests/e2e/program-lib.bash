# Sourced by the scenarios that run the glintdeck program itself on the private X server of
# x11-session: a scratch folder and cleanup, deadline polls, the program's launch with its own
# home and preferences, the user's actions through xdotool, and what /proc says about it.
# The sourcing script sets `name` (for its messages) first.

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
program_home=$scratch/home
export HOME=$program_home XDG_CONFIG_HOME=$program_home/.config
export XDG_CACHE_HOME=$program_home/.cache XDG_DATA_HOME=$program_home/.local/share
export XDG_STATE_HOME=$program_home/.local/state XDG_RUNTIME_DIR=$scratch/runtime
export TMPDIR=$scratch/tmp
mkdir -p "$HOME" "$XDG_CONFIG_HOME/glintdeck" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
preferences=$XDG_CONFIG_HOME/glintdeck/defaults.json
autostart_entry=$XDG_CONFIG_HOME/autostart/org.glintdeck.Glintdeck.desktop

# write_preferences JSON: what the user chose before this run.
write_preferences() { printf '%s\n' "$1" >"$preferences"; }

# launch PROGRAM [LOG]: starts the program in the background, output to LOG (default
# program.log under the scratch folder), and sets program_pid.
launch() {
    local log=${2:-$scratch/program.log}
    "$1" >"$log" 2>&1 &
    program_pid=$!
    started+=("$program_pid")
}

alive() { kill -0 "$1" 2>/dev/null; }

# How many glintdeck processes run with this scenario's runtime folder (second launches that a
# desktop's key binding starts included; one that ended is no longer counted).
instances() {
    local pid count=0
    for pid in $(pgrep -x glintdeck); do
        grep -qsxz "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" "/proc/$pid/environ" && count=$((count + 1))
    done
    echo "$count"
}
one_instance() { [[ $(instances) == 1 ]] || fail "$(instances) glintdeck processes, not one"; }


gone() { ! alive "$1"; }

window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
strip_visible() { [[ -n "$(window_named '^Glintdeck$')" ]]; }
strip_hidden() { ! strip_visible; }
card_visible() { [[ -n "$(window_named '^Glintdeck Detail$')" ]]; }
card_hidden() { ! card_visible; }
hint_visible() { [[ -n "$(window_named '^Glintdeck Hint$')" ]]; }
# rect_of PATTERN: "X Y WIDTH HEIGHT" of the first visible window whose name matches.
rect_of() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$(window_named "$1")")"
    echo "$X $Y $WIDTH $HEIGHT"
}
# apart X Y WIDTH HEIGHT X Y WIDTH HEIGHT: the two rectangles share no pixel.
apart() {
    (($1 + $3 <= $5 || $5 + $7 <= $1 || $2 + $4 <= $6 || $6 + $8 <= $2))
}
# clear_of_strip PATTERN: the window (the card, the hint) shares no pixel with the strip.
# shellcheck disable=SC2046  # two rectangles, four numbers each
clear_of_strip() { apart $(rect_of '^Glintdeck$') $(rect_of "$1"); }
settings_visible() { [[ -n "$(window_named '^Glintdeck Settings$')" ]]; }

# summon shown|hidden: presses the summon key and waits for the strip to be so.
summon() {
    xdotool key ctrl+alt+super+q
    if [[ $1 == shown ]]; then
        poll 10 strip_visible || fail "the summon key did not show the strip"
    else
        poll 10 strip_hidden || fail "the summon key did not hide the strip"
    fi
}

# open_card TILE: clicks the strip's TILE-th tile (0, 1 or 2: processor, memory, disk) and waits
# for its detail card.
open_card() {
    local strip X Y WIDTH HEIGHT
    strip=$(window_named '^Glintdeck$')
    [[ -n "$strip" ]] || fail "no strip to click"
    eval "$(xdotool getwindowgeometry --shell "$strip")"
    xdotool mousemove $((X + tile_middles[$1])) $((Y + HEIGHT / 2)) click 1
    poll 10 card_visible || fail "clicking tile $1 did not open its card"
}
# The middles of the first three tiles at the default strip height, from the strip's left edge.
tile_middles=(78 166 280)

# stop_program PID [SECONDS]: asks it to quit as a session's end does (SIGTERM) and waits for
# it; fails when it is still there after SECONDS (default 15) or ended by a signal.
stop_program() {
    local pid=$1 status
    kill -TERM "$pid" 2>/dev/null || true
    poll "${2:-15}" gone "$pid" || fail "the program did not quit within ${2:-15} s of SIGTERM"
    set +e
    wait "$pid"
    status=$?
    set -e
    ((status < 128)) || fail "the program died of signal $((status - 128))"
    exit_status=$status
}

# sanitizer_report LOG: succeeds when LOG holds a sanitizer's report.
sanitizer_report() {
    grep -qE 'ERROR: (Address|Leak|Thread)Sanitizer|runtime error:|SUMMARY: [A-Za-z]+Sanitizer' "$1"
}

# proc_sample PID: "rss_kib fds threads" of the process now.
proc_sample() {
    local rss threads fds
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$1/status")
    threads=$(awk '/^Threads:/ { print $2 }' "/proc/$1/status")
    fds=$(find "/proc/$1/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
    echo "$rss $fds $threads"
}
