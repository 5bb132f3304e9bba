#!/bin/sh
# Runs a test that makes windows straight from its executable, as an IDE would, with no private
# home or working directory around it, and checks that it wrote nothing there: no settings, no
# ./quib.ini. Qt's test locations and the desktop libraries' caches are allowed.
set -u
dir=$(mktemp -d "${TMPDIR:-/tmp}/kelvoro-direct.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/home" "$dir/work"
cd "$dir/work" || exit 1
if ! env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$dir/home" \
    QT_QPA_PLATFORM=offscreen "$1" >"$dir/log" 2>&1; then
    cat "$dir/log"
    exit 1
fi
cd "$dir" || exit 1
left=$(find home work -mindepth 1 ! -path 'home/.qttest*' ! -path 'home/.cache*')
if [ -n "$left" ]; then
    echo "$1 wrote outside its test locations:"
    echo "$left"
    exit 1
fi
