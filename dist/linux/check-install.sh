#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR under /usr and checks what
# desktops, software centres and shells read there: the launcher entry, the
# AppStream metadata, the icon the entry names, the man page, the bash
# completion and the program itself.
# usage: check-install.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: check-install.sh BUILD_DIR}
root=$(mktemp -d "${TMPDIR:-/tmp}/tallyport-install.XXXXXX")
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share
id=org.tallyport.Tallyport
failed=0
check() { # name, command...
    local name=$1 output
    shift
    if output=$("$@" 2>&1); then
        echo "ok    $name"
    else
        echo "FAIL  $name"
        printf '%s\n' "$output" | sed 's/^/      /'
        failed=1
    fi
}
silent() { # fails when the command fails or says anything on stderr
    local errors
    errors=$("$@" 2>&1 >/dev/null) && [ -z "$errors" ] || { printf '%s\n' "$errors" >&2; return 1; }
}

check "desktop entry is valid" desktop-file-validate "$share/applications/$id.desktop"
check "AppStream metadata is valid" appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml"
icon=$(sed -n 's/^Icon=//p' "$share/applications/$id.desktop")
check "the entry's icon is installed" test -f "$share/icons/hicolor/scalable/apps/$icon.svg"
check "man page renders without warnings" \
    silent env LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/tallyport.1.gz"
check "bash completion parses" bash -n "$share/bash-completion/completions/tallyport"
check "installed program runs" "$root/usr/bin/tallyport" --version
exit $failed
