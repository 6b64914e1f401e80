#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, skipping what is already there.
set -euo pipefail

packages=(
    qt6-base-dev qt6-svg-dev libasound2-dev   # the program
    xdg-utils desktop-file-utils shared-mime-info   # file associations, checked in tests
    libfile-mimeinfo-perl      # lets xdg-mime outside a desktop session read the MIME database
    cmake ninja-build g++ pkg-config python3
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev   # libFuzzer targets
    sox                        # checks rendered WAV files in tests
    locales                    # a German locale, to prove numbers ignore the user's locale
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Tests write and read numbers under a locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
