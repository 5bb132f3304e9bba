#!/bin/sh
# Runs one test executable in a fresh temporary home and working directory, so tests never
# touch the user's settings and every ./quib.ini starts absent.
set -u
dir=$(mktemp -d "${TMPDIR:-/tmp}/kelvoro-test.XXXXXX") || exit 1
trap 'chmod -R u+w "$dir" 2>/dev/null; rm -rf "$dir"' EXIT
mkdir -p "$dir/home" "$dir/config" "$dir/data" "$dir/work"
export HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data"
export QT_QPA_PLATFORM=offscreen
cd "$dir/work" || exit 1
"$@"
