#!/bin/sh
# Installs what is missing, builds everything and runs every test.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/scripts/setup.sh" --test
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$top/build"
ctest --test-dir "$top/build" --output-on-failure --timeout 600
# The fuzzers (clang only): each target over its seed corpus, then about 10 s of new inputs.
if command -v clang++ >/dev/null 2>&1; then
    cmake -S "$top/tests/fuzz" -B "$top/build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++
    cmake --build "$top/build-fuzz"
    ctest --test-dir "$top/build-fuzz" --output-on-failure -j2
fi
