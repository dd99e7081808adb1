#!/usr/bin/env bash
# Photographs every destination and sheet of the window on a demo state, in
# light and dark, for the documentation.
# usage: scripts/screenshots.sh BUILD_DIR [OUT_DIR]   (OUT_DIR: docs/screenshots)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(cd "${1:?usage: $0 BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$root/docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
status=0
for mode in light dark; do
    echo "== $mode"
    "$root/tests/e2e/session" -- /usr/bin/python3 -B "$root/scripts/tour.py" \
        "$build_dir/src/tallyport" "$mode" "$out" || status=1
done
echo "screenshots in $out"
exit $status
