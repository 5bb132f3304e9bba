#!/bin/sh
# Fails when a text of the program has no English translation, or the English file holds a
# translation of a text the program no longer has (a changed or removed source text), or a
# Japanese text of the program bypasses the translation system.
# Usage: translation-check.sh LUPDATE TS-FILE SOURCE-LIST INCLUDE-DIR [LUPDATE-OPTION...]
set -eu
lupdate=$1 ts=$2 sources=$3 include=$4
shift 4
dir=$(mktemp -d "${TMPDIR:-/tmp}/kelvoro-ts.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT
cp "$ts" "$dir/check.ts"
{ echo "-I$include"; cat "$sources"; } > "$dir/sources.txt"
"$lupdate" "$@" "@$dir/sources.txt" -ts "$dir/check.ts" > "$dir/log" 2>&1 || {
    cat "$dir/log"
    exit 1
}
status=0
here=$(dirname "$0")
# shellcheck disable=SC2046
if ! perl "$here/untranslated-literals.pl" $(cat "$sources"); then
    echo "Japanese texts outside tr(), translate() or QT_TRANSLATE_NOOP() (listed above)."
    status=1
fi
report() {
    # The source text of each message whose translation has the given type.
    awk -v want="$1" '
        /<source>/ { source = ""; insource = 1 }
        insource { source = source $0 "\n" }
        /<\/source>/ { insource = 0 }
        $0 ~ "<translation type=\"" want "\"" { printf "%s", source }
    ' "$dir/check.ts" | sed -e 's/^ *<source>//' -e 's/<\/source>$//'
}
untranslated=$(report unfinished)
if [ -n "$untranslated" ]; then
    echo "Texts without an English translation in $ts:"
    echo "$untranslated"
    status=1
fi
stale=$(report vanished; report obsolete)
if [ -n "$stale" ]; then
    echo "Translations of texts the program no longer has (changed or removed) in $ts:"
    echo "$stale"
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "Run: cmake --build <build> --target update_translations, then translate the new texts."
fi
exit "$status"
