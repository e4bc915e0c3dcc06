# bash completion for stationctl. Commands and options are read from the
# program's own help, so they always match the build in use (release-handle,
# for one, exists only where the built-in virtual station does).
_stationctl_help() {
    "$_stationctl_program" "$@" --help 2>/dev/null
}

_stationctl_commands() {
    _stationctl_help "$@" | awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }'
}

_stationctl() {
    local _stationctl_program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} word
    local path=()
    # Words that name a command at the level reached so far; option values never do.
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        if _stationctl_commands "${path[@]}" | grep -qxF -- "$word"; then path+=("$word"); fi
    done
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_stationctl_help "${path[@]}" | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u)" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -W "$(_stationctl_commands "${path[@]}")" -- "$cur"))
    if [[ ${#COMPREPLY[@]} -eq 0 ]]; then COMPREPLY=($(compgen -f -- "$cur")); fi
}
complete -F _stationctl stationctl
