#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, plus those of
# --fuzz, --tidy, --bench or --screenshot (any of them, together).
# As root it installs what is missing; otherwise it prints the command to run.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev libqt6svg6
    fonts-ipafont-gothic qt6-translations-l10n libxml2-dev
    libpcre2-dev  # regular expressions of grep and the hit list
    libsqlite3-dev sqlite3  # the SQLite archive; the shell reads it back in the tests and the bench
    tzdata  # the named zones (Europe/Berlin, ...) the time tests convert in
    dpkg-dev file lintian desktop-file-utils appstream man-db
    libreoffice-calc-nogui  # a spreadsheet that opens the CSV export in a test
)
for extra in "$@"; do
    case "$extra" in
        --fuzz) packages+=(clang libclang-rt-14-dev) ;;
        --tidy) packages+=(clang-tidy) ;;
        --bench) packages+=(ripgrep) ;;  # a yardstick of make bench, next to grep
        --screenshot) packages+=(xvfb xauth imagemagick) ;;
        *) echo "install-deps.sh: unknown option $extra" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
