#!/bin/bash
# Installs whatever the build and the tests need and is missing: Debian packages,
# the ja_JP.UTF-8 and en_US.UTF-8 locales (Wine's code pages 932 and 1252). Cheap when everything is there already.
set -euo pipefail

PACKAGES=(
    cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev openssl
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    wine wine64 fonts-wine libxrender1 libxcursor1 libxi6 libxrandr2 libxinerama1 libxcomposite1
    libxfixes3 libxxf86vm1 libfreetype6 libfontconfig1 libgnutls30
    xvfb xdotool imagemagick x11-utils fonts-ipafont-gothic locales ccache fp-utils libchm-bin
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    if [ "$(id -u)" != 0 ]; then
        echo "Missing packages. Run as root:" >&2
        echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

for loc in ja_JP en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
        if [ "$(id -u)" != 0 ]; then
            echo "The $loc.UTF-8 locale is missing. Run as root: localedef -i $loc -f UTF-8 $loc.UTF-8" >&2
            exit 1
        fi
        localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
    fi
done
