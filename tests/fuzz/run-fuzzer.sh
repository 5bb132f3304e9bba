#!/bin/sh
# run-fuzzer.sh FUZZER CORPUS SECONDS: fuzzes for SECONDS from the seed corpus, writing what it
# finds to a temporary directory; a crash leaves its input in the current directory.
set -eu
fuzzer=$1 corpus=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "$work" "$corpus"
