# Sourced by the install checks: failures are counted, not fatal, so that one run lists them all;
# `passed WHAT` ends the script, with status 1 when any check failed.
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
passed() {
    ((failures == 0)) && echo "$(basename "$0"): $*"
    exit $((failures > 0))
}
# The options PROGRAM's --help lists, one a line.
options_of() { "$1" --help | grep -oE -- '--[a-z0-9-]+' | sort -u; }
