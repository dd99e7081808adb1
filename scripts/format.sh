#!/usr/bin/env bash
# Formats the C++ sources with clang-format (.clang-format at the top).
# With --check it changes nothing and fails when a file is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--check" ]; then
    exec clang-format --dry-run --Werror "${files[@]}"
fi
clang-format -i "${files[@]}"
