#!/usr/bin/env bash
# Completes a few command lines with the installed completion and the built
# program: usage: completion-test.sh COMPLETION_SCRIPT STATIONCTL
set -u
source "$1"
complete_line() {  # the words of a line whose last word is being typed
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _stationctl
    echo "${COMPREPLY[*]}"
}
failed=0
expect() {  # expected, then the line
    local got
    got=$(complete_line "${@:2}")
    if [[ $got != "$1" ]]; then echo "completing '${*:2}': got '$got', expected '$1'"; failed=1; fi
}
expect "card card-rule" "$2" ca
expect "set" "$2" card-rule ""
expect "--length" "$2" --json card-rule set --len
expect "get set" "$2" --station 10.1.2.3 rf-card ""
[[ $failed == 0 ]] && echo "completion: 4 passed, 0 failed"
exit $failed
