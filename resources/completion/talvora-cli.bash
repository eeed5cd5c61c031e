# bash completion for talvora-cli.
# The commands and options are read from the tool's own --help, so they never go stale.

# Prints "NAME VALUE" for each option line of a help text on stdin (VALUE empty for flags).
_talvora_cli_options() {
    awk '/^  -/ {
        value = ""; count = 0
        for (i = 1; i <= NF; i++) {
            field = $i; sub(/,$/, "", field)
            if (field ~ /^-/) { names[count++] = field; continue }
            if (field ~ /^[A-Z]+$/) { value = field }
            break
        }
        for (j = 0; j < count; j++) { print names[j], value }
    }'
}

_talvora_cli() {
    local cur prev words cword split
    _init_completion -s || return

    local program=${words[0]} command="" globals i
    globals=$("$program" --help 2>/dev/null | _talvora_cli_options)
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        --) break ;;
        -*=*) ;;
        -*) [[ -n $(awk -v o="${words[i]}" '$1 == o { print $2 }' <<<"$globals") ]] && ((i++)) ;;
        *) command=${words[i]} && break ;;
        esac
    done

    local options=$globals
    [[ -n $command ]] && options=$("$program" "$command" --help 2>/dev/null | _talvora_cli_options)

    local value
    value=$(awk -v o="$prev" '$1 == o { print $2 }' <<<"$options")
    if [[ -n $value ]]; then
        case $prev in
        --encoding) COMPREPLY=($(compgen -W "shift-jis utf-8" -- "$cur")) ;;
        --by) COMPREPLY=($(compgen -W "month year" -- "$cur")) ;;
        *)
            case $value in
            DIR) _filedir -d ;;
            FILE) _filedir ;;
            esac
            ;;
        esac
        return
    fi
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(awk '{ print $1 }' <<<"$options")" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
    elif [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$("$program" --help 2>/dev/null |
            awk '/^commands:/ { on = 1; next } /^$/ { on = 0 } on { print $1 }')" -- "$cur"))
    fi
} &&
    complete -F _talvora_cli talvora-cli
