#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into their own folder and runs each
# for the given number of seconds. The corpus grows in <build>/corpus/<target>
# from the seeds in fuzz/seeds and tests/data (and any folders in FUZZ_SEEDS);
# inputs that fail are saved in <build>/crashes/.
set -euo pipefail
build_dir=$1
seconds=${2:-60}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh needs clang (make fuzz installs it)" >&2
    exit 2
fi
CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTALLYPORT_FUZZ=ON >/dev/null
cmake --build "$build_dir"

declare -A seeds=(
    [fuzz_state_file]="$source_dir/fuzz/seeds/state"
    [fuzz_backup]="$source_dir/fuzz/seeds/backup $source_dir/tests/data/backup"
    [fuzz_preferences]="$source_dir/fuzz/seeds/preferences"
)
mkdir -p "$build_dir/crashes"
status=0
for target in fuzz_state_file fuzz_backup fuzz_preferences; do
    corpus="$build_dir/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target, ${seconds} s"
    # shellcheck disable=SC2086 # the seed folders are a list
    "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$build_dir/crashes/$target-" -print_final_stats=1 \
        "$corpus" ${seeds[$target]} ${FUZZ_SEEDS:-} || status=1
done
exit $status
