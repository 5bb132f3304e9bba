#!/bin/sh
# Starts the built Kelvoro with the given files on a session bus with accessibility on (under
# Xvfb when there is no display) and prints what a screen reader finds: the main window and
# list, then the property dialog (Ctrl+A, Ctrl+G) and the rename dialog (Ctrl+H), each opened
# from the keyboard. Needs xvfb, xdotool, at-spi2-core and python3-pyatspi.
# Usage: sh scripts/atspi-session.sh [build dir] FILE...
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
if [ $# -gt 0 ] && [ -d "$1" ]; then
    build=$(cd "$1" && pwd)
    shift
fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$build" "$@"
fi
if [ -z "${KELVORO_ATSPI_BUS:-}" ]; then
    KELVORO_ATSPI_BUS=1 exec dbus-run-session -- "$0" "$build" "$@"
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$build/kelvoro" "$@" &
app=$!
trap 'kill $app $bus 2>/dev/null || true' EXIT
sleep 3
tree() {
    echo "== $1"
    /usr/bin/python3 "$top/scripts/atspi-tree.py"
}
keys() {
    window=$(xdotool search --onlyvisible --pid $app | tail -n 1)
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool key --delay 200 "$@"
    sleep 1
}
tree "main window"
keys ctrl+a ctrl+g
tree "property dialog"
keys Escape
keys ctrl+h
tree "rename dialog"
keys Escape
