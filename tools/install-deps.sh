#!/usr/bin/env bash
# Installs the Debian packages that building and testing RIZorivu need, when any is missing.
# Safe to run again: it does nothing when everything is present.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    libsqlite3-dev libssl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins fonts-dejavu-core fonts-ipafont-gothic
    libxcb1-dev qt6-wayland weston xvfb xauth
    openbox tint2 xdotool x11-apps x11-utils imagemagick sqlite3
    dpkg-dev lintian appstream
    locales
    freeradius eapoltest
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "These Debian packages are missing: ${missing[*]}. Run this command as root." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run under a few locales whose numbers or text differ from English: a comma as the
# decimal point (German, French) and a multi-byte code page (Japanese).
wanted_locales=(de_DE.UTF-8 fr_FR.UTF-8 ja_JP.UTF-8)
available=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
for l in "${wanted_locales[@]}"; do
    short=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    if ! grep -qx "$short" <<<"$available"; then
        if [ "$(id -u)" -ne 0 ]; then
            echo "The locale $l is missing. Run this command as root." >&2
            exit 1
        fi
        echo "Generating locale $l"
        localedef -i "${l%%.*}" -c -f UTF-8 "$l"
    fi
done
