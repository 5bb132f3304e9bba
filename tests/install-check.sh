#!/bin/sh
# Installs the build into a temporary prefix and checks that a desktop finds everything there:
# exactly the expected files, icons of the sizes their folders claim, a menu entry and
# metainfo that validate and point at what was installed, manual pages in English and Japanese
# that render cleanly and that man finds by the locale, the Japanese ones still translating
# the English ones.
# Usage: install-check.sh <build dir> <expected file list>
set -u
build=$1
expected=$2
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
for tool in cmake desktop-file-validate appstreamcli man groff perl; do
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

# The Japanese pages are UTF-8, which man-db passes through preconv as groff -k does. Japanese
# has no spaces: a narrow terminal shows where a run of text has no place to break.
for name in kelvoro kelvoro-cli; do
    page=$prefix/share/man/ja/man1/$name.1
    for width in 60 80; do
        out=$(LC_ALL=C.UTF-8 MANWIDTH=$width man --warnings -l "$page" 2>&1 >/dev/null) ||
            fail "man -l $page failed"
        [ -z "$out" ] || fail "man -l $page at width $width: $out"
    done
    out=$(LC_ALL=C.UTF-8 groff -k -man -ww -z -Tutf8 "$page" 2>&1) || fail "groff $page failed"
    [ -z "$out" ] || fail "groff $page: $out"
    # Found where man-db looks for a Japanese session, whether or not its locale exists here.
    shown=$(env -u LANGUAGE LC_ALL=C.UTF-8 MANPATH="$prefix/share/man" MANWIDTH=80 \
        man -L ja_JP.UTF-8 "$name" 2>/dev/null)
    printf '%s\n' "$shown" | grep -q "^名前\$" || fail "man -L ja_JP.UTF-8 $name is not Japanese"
    printf '%s\n' "$shown" | grep -q "^ *$name - [^ -~]" || fail "$page has no Japanese NAME line"
    # No line may start with closing punctuation or end with an opening bracket.
    bad=$(printf '%s\n' "$shown" |
        LC_ALL=C.UTF-8 grep -n '^ *[、。，．）」』：；？！]\|[（「『]$')
    [ -z "$bad" ] || fail "$page breaks lines at brackets or punctuation: $bad"
    perl "$(dirname "$0")/man-translation-check.pl" "$prefix/share/man/man1/$name.1" "$page" ||
        fail "$page is not a translation of the current English page"
done
env -u LANGUAGE LC_ALL=C.UTF-8 MANPATH="$prefix/share/man" MANWIDTH=80 man -L C kelvoro \
    2>/dev/null | grep -q '^NAME$' || fail "man -L C kelvoro is not the English page"

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
