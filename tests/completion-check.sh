#!/bin/sh
# Loads the installed bash completion of kelvoro-cli the way bash-completion does and checks
# what it offers at a few points of a command line.
# Usage: completion-check.sh <completion file>
set -u
file=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
lib=/usr/share/bash-completion/bash_completion
[ -f "$lib" ] || {
    echo "FAIL: $lib is missing (package bash-completion; scripts/setup.sh --test)" >&2
    exit 1
}
dir=$(mktemp -d "${TMPDIR:-/tmp}/kelvoro-completion.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT
touch "$dir/photo.jpg"
cd "$dir" || exit 1
exec bash --norc --noprofile -c '
. "$1"
. "$2"
status=0
# offers <expected words> -- <command line words, the last being completed>
offers() {
    local expected=$1
    shift 2
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _kelvoro_cli kelvoro-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " ")
    if [ "$got" != "$expected " ]; then
        echo "FAIL: ${COMP_WORDS[*]} offers [$got], expected [$expected]" >&2
        status=1
    fi
}
offers "set show" -- kelvoro-cli s
offers "rename" -- kelvoro-cli r
offers "--number --number-position" -- kelvoro-cli rename --num
offers "--recursive --regex --replace" -- kelvoro-cli rename --re
offers "after before instead" -- kelvoro-cli rename --number-position ""
offers "lower lower-ext" -- kelvoro-cli rename --case l
offers "" -- kelvoro-cli rename --front ""
offers "--json" -- kelvoro-cli show --j
offers "--null" -- kelvoro-cli show --n
offers "--dry-run" -- kelvoro-cli set --dr
offers "off on" -- kelvoro-cli set --hidden ""
offers "copy:accessed copy:created copy:modified" -- kelvoro-cli set --created co
offers "exif" -- kelvoro-cli set --modified e
offers "photo.jpg" -- kelvoro-cli set --hidden on ph
exit $status
' sh "$lib" "$file"
