#!/usr/bin/env bash
# Builds the Debian package of a built tree with CPack into OUT_DIR and checks
# it with lintian, which fails on errors.
# usage: scripts/deb.sh BUILD_DIR OUT_DIR
set -euo pipefail

build=$(cd "${1:?usage: deb.sh BUILD_DIR OUT_DIR}" && pwd)
out=${2:?usage: deb.sh BUILD_DIR OUT_DIR}
work=$(mktemp -d "${TMPDIR:-/tmp}/tallyport-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT

if ! cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
mkdir -p "$out"
deb=$(find "$work" -maxdepth 1 -name 'tallyport_*.deb')
mv -f "$deb" "$out/"
deb=$out/$(basename "$deb")
echo "deb: $deb"
lintian --fail-on error "$deb"
echo "lintian: no errors"
