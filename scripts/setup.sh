#!/usr/bin/env bash
# Installs the system packages Tallyport needs that are not installed yet, and
# any packages named as arguments (tools a single make target needs).
# Debian and Ubuntu only; elsewhere it names the packages and stops.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mapfile -t packages < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
packages+=("$@")

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "setup: this script installs packages on Debian 12 or Ubuntu with apt-get only." >&2
    echo "setup: install the equivalents of these packages, then run make again:" >&2
    printf '  %s\n' "${packages[@]}" >&2
    exit 2
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "setup: these packages are missing and sudo is not available; install them as root:" >&2
        printf '  %s\n' "${missing[@]}" >&2
        exit 2
    fi
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
