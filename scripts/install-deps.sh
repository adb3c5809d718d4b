#!/usr/bin/env bash
# Installs the Debian packages wanderkin needs to build, play and test; only what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsdl1.2-compat-dev libsdl-mixer1.2-dev libgl-dev libgl1-mesa-dri libboost-dev
    googletest libgtest-dev libbenchmark-dev
    xvfb xauth xdotool imagemagick
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "All build and test packages are installed."
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "These packages are missing and installing them needs root: ${missing[*]}"
    exit 1
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
