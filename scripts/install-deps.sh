#!/usr/bin/env bash
# Installs whatever Debian packages the build, the game and the tests need and are missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    libsdl2-dev libopenal-dev libopenal1
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0 libegl1
    libfreetype-dev fonts-dejavu-core
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth xfonts-base xdotool x11-utils imagemagick
    # the Debian package: dependencies from the executable (dpkg-shlibdeps), and the package
    # test's check of its listing and rendering of its man page
    dpkg-dev appstream man-db
    openbox  # a window manager for the e2e test of resizing and desktop full screen
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
