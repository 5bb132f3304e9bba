#!/bin/sh
# Installs the Debian packages Kelvoro needs to build, run and test, when they are missing.
set -eu
packages="g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
fonts-noto-cjk libgl-dev libx11-dev xdg-utils pkg-config libexiv2-dev libfuse3-dev"
if [ "${1:-}" = "--test" ]; then
    packages="$packages xvfb xauth attr e2fsprogs ntfs-3g dbus desktop-file-utils appstream
groff-base man-db samba smbclient dpkg-dev file bash-completion fuse3 clang libclang-rt-14-dev"
elif [ "${1:-}" = "--bench" ]; then
    packages="$packages rename fuse3"
fi
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
