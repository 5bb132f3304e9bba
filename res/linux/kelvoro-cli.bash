# bash completion for kelvoro-cli
_kelvoro_cli() {
    local cur prev words cword
    _init_completion || return

    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        show | set)
            command=${words[i]}
            break
            ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W 'show set --help --version' -- "$cur"))
        return
    fi

    case $prev in
    --created | --modified | --accessed)
        COMPREPLY=($(compgen -W 'copy:created copy:modified copy:accessed exif name @' -- "$cur"))
        # "@" is followed by the seconds, not by a blank.
        [[ ${COMPREPLY[*]} == @ ]] && compopt -o nospace
        return
        ;;
    --readonly | --hidden | --archive | --index)
        COMPREPLY=($(compgen -W 'on off' -- "$cur"))
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        local options='--null --help'
        case $command in
        show) options+=' --json' ;;
        set) options+=' --created --modified --accessed --readonly --hidden --archive --index --dry-run' ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    _filedir
}
complete -F _kelvoro_cli kelvoro-cli
