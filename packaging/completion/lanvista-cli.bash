# bash completion for lanvista-cli: commands, each command's options, the values --dhcp
# takes, the system's network adapters (and address labels) for --interface, files for the
# image of update and the plan of apply.

# The adapters as --interface takes them: each interface's name, and each address label.
_lanvista_cli_interfaces()
{
    local path
    for path in /sys/class/net/*; do
        [[ -e $path ]] && printf '%s\n' "${path##*/}"
    done
    ip -o -4 addr show 2>/dev/null | awk '{ for (i = 1; i <= NF; i++) if ($i ~ /\\$/) { sub(/\\$/, "", $i); print $i } }'
}

_lanvista_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command="" positional=0 i word
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
            --mac | --count | --timeout | --interface | --ip | --mask | --gateway | --port | --dhcp | --parallel)
                ((i++)) ;;
            -*) ;;
            *)
                if [[ -z $command ]]; then command=$word; else ((positional++)); fi ;;
        esac
    done

    case $prev in
        --interface)
            mapfile -t COMPREPLY < <(compgen -W "$(_lanvista_cli_interfaces | sort -u)" -- "$cur")
            return ;;
        --dhcp)
            mapfile -t COMPREPLY < <(compgen -W "on off" -- "$cur")
            return ;;
        --mac | --count | --timeout | --ip | --mask | --gateway | --port | --parallel)
            COMPREPLY=()
            return ;;
    esac

    local options
    case $command in
        "") options="--help --version" ;;
        list) options="--mac --count --timeout --interface --json --jsonl --csv --verbose --help" ;;
        set) options="--ip --mask --gateway --port --dhcp --timeout --interface --force --verbose --help" ;;
        update) options="--all --mac --parallel --force --allow-downgrade --dry-run --json --timeout --interface --verbose --help" ;;
        apply) options="--dry-run --json --timeout --interface --force --verbose --help" ;;
        *) COMPREPLY=(); return ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "list set update apply" -- "$cur")
    elif [[ $command == update || ($command == apply && $positional -eq 0) ]]; then
        # The image (any file, since its full path decides; it follows the addresses) or the plan.
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    else
        COMPREPLY=()
    fi
}

complete -F _lanvista_cli lanvista-cli
