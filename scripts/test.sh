#!/bin/sh
# Installs what is missing, builds everything and runs every test.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/scripts/setup.sh" --test
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$top/build"
ctest --test-dir "$top/build" --output-on-failure --timeout 600
