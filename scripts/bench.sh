#!/usr/bin/env bash
# Runs every benchmark program built under bench/.
set -euo pipefail
build_dir=$1
status=0
for program in "$build_dir"/bench/bench_*; do
    # The *_autogen folders beside the programs match the pattern too.
    [ -f "$program" ] && [ -x "$program" ] || continue
    echo "== $(basename "$program")"
    "$program" || status=1
done
exit $status
