#!/bin/sh
# Installs the build into a temporary prefix and checks that a desktop finds everything there:
# exactly the expected files, icons of the sizes their folders claim, a menu entry and
# metainfo that validate and point at what was installed, a manual page that renders cleanly.
# Usage: install-check.sh <build dir> <expected file list>
set -u
build=$1
expected=$2
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
for tool in cmake desktop-file-validate appstreamcli man groff; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh --test)"
done
[ $status -eq 0 ] || exit 1

prefix=$(mktemp -d "${TMPDIR:-/tmp}/kelvoro-install.XXXXXX") || exit 1
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || {
    echo "FAIL: cmake --install" >&2
    exit 1
}

(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$prefix.found"
sort "$expected" | diff -u - "$prefix.found" >&2 || fail "installed files differ from $expected"
rm -f "$prefix.found"
[ -x "$prefix/bin/kelvoro" ] || fail "bin/kelvoro is not executable"
[ -x "$prefix/bin/kelvoro-cli" ] || fail "bin/kelvoro-cli is not executable"

# PNG width and height are the big-endian words at bytes 16 and 20.
for png in "$prefix"/share/icons/hicolor/*x*/apps/*.png; do
    folder=$(basename "$(dirname "$(dirname "$png")")")
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
    [ "$size" = "$folder" ] || fail "$png is $size"
done

desktop=$prefix/share/applications/com.hollenby.Kelvoro.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
[ -z "$out" ] || fail "desktop-file-validate: $out"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "kelvoro %F" ] || fail "Exec=$exec_line does not take files from a file manager"
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "Exec names no installed program"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "Icon=$icon is not installed"
grep -q '^Name\[ja\]=' "$desktop" || fail "no Japanese name"

metainfo=$prefix/share/metainfo/com.hollenby.Kelvoro.metainfo.xml
appstreamcli validate --no-net "$metainfo" >&2 || fail "appstreamcli validate failed"
grep -q '<launchable type="desktop-id">com.hollenby.Kelvoro.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not launch the installed desktop entry"

for page in "$prefix/share/man/man1/kelvoro.1" "$prefix/share/man/man1/kelvoro-cli.1"; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) ||
        fail "man -l $page failed"
    [ -z "$out" ] || fail "man -l $page: $out"
    out=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$page" 2>&1) || fail "groff $page failed"
    [ -z "$out" ] || fail "groff $page: $out"
done
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man1/kelvoro.1" 2>/dev/null |
    grep -q 'kelvoro - change' || fail "man page has no NAME line"
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man1/kelvoro-cli.1" 2>/dev/null |
    grep -q 'kelvoro-cli  *-  *show' || fail "kelvoro-cli man page has no NAME line"

# The command-line tool runs from the prefix without a display.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/kelvoro-cli" --version) ||
    fail "kelvoro-cli --version failed"
case $version in
"kelvoro-cli "[0-9]*) ;;
*) fail "kelvoro-cli --version said: $version" ;;
esac
sh "$(dirname "$0")/completion-check.sh" "$prefix/share/bash-completion/completions/kelvoro-cli" ||
    fail "bash completion of kelvoro-cli"

exit $status
