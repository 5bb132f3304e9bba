#!/bin/sh
# Installs what is missing, builds the benchmark and runs it; options go to the benchmark
# (--files N, --dir DIRECTORY, --runs R, --share-files N, --latency-ms MS, --only
# startup,memory,select,times,save,rename,preview,remove,folder,sort,share).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/scripts/setup.sh" --bench
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" --target kelvoro_bench
exec "$top/build/bench/kelvoro_bench" "$@"
