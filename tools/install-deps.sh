#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when they are missing.
set -eu
packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-qpa-plugins qt6-translations-l10n libgl-dev
    googletest libgtest-dev libgmock-dev
    fonts-ipafont-gothic xvfb xdotool x11-utils
    zlib1g-dev dpkg-dev file desktop-file-utils appstream x11-apps imagemagick
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
