# Sourced by the scenarios, after they set `name`: step TEXT says what the scenario does next,
# on standard output and, under time-limit, in the file that names the step a run that ran out
# of time was in.
step() {
    echo "$name: $*"
    if [[ -n "${E2E_STEP_FILE:-}" ]]; then printf '%s\n' "$*" >"$E2E_STEP_FILE"; fi
}
