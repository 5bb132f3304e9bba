#!/bin/sh
# Builds the Debian package from the build tree into a temporary directory and checks its
# control fields and that it carries exactly the installed files under /usr.
# Usage: package-check.sh <build dir> <expected file list> <version>
set -u
build=$1
expected=$2
version=$3
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh --test)"
done
[ $status -eq 0 ] || exit 1

out=$(mktemp -d "${TMPDIR:-/tmp}/kelvoro-package.XXXXXX") || exit 1
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
}
deb=$out/kelvoro_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || {
    ls "$out" >&2
    echo "FAIL: no $deb" >&2
    exit 1
}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kelvoro ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = utils ] || fail "Section: $(field Section)"
field Maintainer | grep -q '<.*@.*>' || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
for dep in libqt6widgets6 libqt6core6 libc6 xdg-utils; do
    field Depends | grep -q "\\b$dep\\b" || fail "Depends lacks $dep: $(field Depends)"
done
for rec in fonts-noto-cjk qt6-translations-l10n; do
    field Recommends | grep -q "\\b$rec\\b" || fail "Recommends lacks $rec: $(field Recommends)"
done

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | sort >"$out/found"
sort "$expected" | diff -u - "$out/found" >&2 || fail "package files differ from $expected"
dpkg-deb -c "$deb" | awk '{ print $2 }' | grep -qv '^root/root$' && fail "files not owned by root"

exit $status
