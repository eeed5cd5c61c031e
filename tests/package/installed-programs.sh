#!/usr/bin/env bash
# Unpacks the Debian package and checks what it installs: it depends on what Qt loads at
# run time, both programs run and print the version, every file is in its place, and the
# desktop entry, the metainfo and the manual pages pass their checkers. Skips (77) when the package has not been built: `make test`
# always builds it first, a plain ctest run may not have.
set -euo pipefail

deb=$1
version=$2
app_id=$3
if [ ! -f "$deb" ]; then
    echo "no package at $deb (make package builds it); skipping"
    exit 77
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Qt loads these at run time, so dpkg-shlibdeps cannot find them: blank icons and English
# buttons without them.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6svg6 qt6-translations-l10n; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends does not name $package: $depends"
done

for program in talvora talvora-cli; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/$program" --version) ||
        fail "$program --version exited with $?"
    [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
done

share=$root/usr/share
for file in \
    applications/$app_id.desktop \
    metainfo/$app_id.metainfo.xml \
    icons/hicolor/scalable/apps/$app_id.svg \
    icons/hicolor/16x16/apps/$app_id.png \
    icons/hicolor/48x48/apps/$app_id.png \
    icons/hicolor/256x256/apps/$app_id.png \
    man/man1/talvora.1.gz \
    man/man1/talvora-cli.1.gz \
    bash-completion/completions/talvora-cli \
    zsh/vendor-completions/_talvora-cli \
    doc/talvora/copyright; do
    [ -s "$share/$file" ] || fail "missing /usr/share/$file"
done
file -b "$share/icons/hicolor/48x48/apps/$app_id.png" | grep -q '48 x 48' ||
    fail "the 48x48 icon is not 48 by 48"

hints=$(desktop-file-validate "$share/applications/$app_id.desktop" 2>&1) ||
    fail "desktop-file-validate: $hints"
[ -z "$hints" ] || fail "desktop-file-validate: $hints"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml")"
for page in talvora talvora-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man -l $page.1: $warnings"
done
echo "package checked: $deb"
