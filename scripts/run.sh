#!/bin/sh
# Installs what is missing, builds Kelvoro and starts it with the given files.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" --target kelvoro
exec "$top/build/kelvoro" "$@"
