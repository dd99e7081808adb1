#!/usr/bin/env bash
# Runs every end-to-end scenario and keeps the screenshots they take.
# usage: scripts/screenshots.sh BUILD_DIR [OUT_DIR]   (OUT_DIR: BUILD_DIR/screenshots)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(cd "${1:?usage: $0 BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build_dir/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
status=0
for scenario in "$root"/tests/e2e/test_*.py; do
    echo "== $(basename "$scenario")"
    TALLYPORT_SCREENSHOTS=$out "$root/tests/e2e/session" -- \
        /usr/bin/python3 -B "$scenario" "$build_dir/src/tallyport" || status=1
done
echo "screenshots in $out"
exit $status
