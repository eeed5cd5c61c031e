#!/usr/bin/env bash
# The README's picture of an HTML export: part of one member's conversation in the demo
# history, exported by talvora-cli and rendered by headless Chromium (installed here when
# missing, so the default install stays without a browser).
# usage: scripts/export-screenshot.sh BUILD SETTINGS OUT.png
set -euo pipefail
build=$1
settings=$2
out=$(realpath -m "$3")

if ! command -v chromium > /dev/null; then
    if [ "$(id -u)" -eq 0 ]; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends chromium
    else
        echo "Chromium is missing. Install it with:" >&2
        echo "  sudo apt-get install chromium" >&2
        exit 1
    fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Rows of the demo's 伊藤 遥 around a URL message and a change of day.
"$build/src/cli/talvora-cli" --settings "$settings" export 2098765 --rows 17-30 \
    --format html -o "$work/export.html"
# No network, no first-run work, a profile of its own that is thrown away.
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --window-size=1000,800 --screenshot="$out" \
    "file://$work/export.html" > /dev/null 2>&1
test -s "$out"
