#!/usr/bin/env bash
# Installs the Debian packages wanderkin needs, only what is missing: with --play what building
# and playing the game take; without it, also everything the tests, benchmarks and the
# package build take. Runs apt-get as root, through sudo when needed, and never waits for an
# answer from apt or dpkg.
set -euo pipefail

play_packages=(
    g++ make cmake
    libsdl1.2-compat-dev libsdl-mixer1.2-dev libgl-dev libgl1-mesa-dri libboost-dev
)
test_packages=(
    googletest libgtest-dev libbenchmark-dev libx11-dev libxtst-dev
    xvfb xauth xdotool openbox imagemagick
    build-essential dpkg-dev debhelper lintian desktop-file-utils appstream groff-base
)

packages=("${play_packages[@]}")
what="build and play"
if [ "${1:-}" = --play ]; then
    shift
else
    packages+=("${test_packages[@]}")
    what="build, play and test"
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "All packages to $what wanderkin are installed."
    exit 0
fi

apt_install=(apt-get install -y --no-install-recommends
    -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold "${missing[@]}")
# Without root, the command to run as root instead, and what to ask an administrator for.
su_help() {
    echo "Installing the missing packages needs root, and $1. Run this"
    echo "(it asks for root's password), then this script again:"
    echo "  su -c 'apt-get update && DEBIAN_FRONTEND=noninteractive ${apt_install[*]}'"
    echo "or ask your administrator to install: ${missing[*]}"
    exit 1
}
if [ "$(id -u)" -eq 0 ]; then
    as_root=(env DEBIAN_FRONTEND=noninteractive)
elif ! command -v sudo >/dev/null 2>&1; then
    su_help "sudo is not installed"
elif ! sudo -n true 2>/dev/null && ! sudo -v; then
    # Allowed without a password, or after asking for it; else sudo has said why (most often:
    # not in the sudoers file).
    su_help "sudo does not let you"
else
    # sudo drops most of the environment, so the setting goes in as part of the command.
    as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" "${apt_install[@]}"
