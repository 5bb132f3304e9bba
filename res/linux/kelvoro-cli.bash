# bash completion for kelvoro-cli
_kelvoro_cli() {
    local cur prev words cword
    _init_completion || return

    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        show | set | rename)
            command=${words[i]}
            break
            ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W 'show set rename --help --version' -- "$cur"))
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
    --number-position)
        COMPREPLY=($(compgen -W 'before after instead' -- "$cur"))
        return
        ;;
    --case)
        COMPREPLY=($(compgen -W 'lower upper lower-ext' -- "$cur"))
        return
        ;;
    --ext | --replace | --front | --end | --number | --separator | --name)
        # Free text: nothing to offer.
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        local options='--null --recursive --help'
        case $command in
        show) options+=' --json' ;;
        set) options+=' --created --modified --accessed --readonly --hidden --archive --index --dry-run' ;;
        rename) options+=' --ext --replace --regex --ignore-case --front --end --number --number-position --separator --name --case --dry-run' ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    _filedir
}
complete -F _kelvoro_cli kelvoro-cli
