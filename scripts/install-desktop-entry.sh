#!/usr/bin/env bash
# Adds wanderkin to this user's desktop menu: builds the game and installs it under ~/.local
# with the same install rules as the Debian package (the launcher in ~/.local/bin, the game and
# its data, the menu entry, the icon and the manual page).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="$HOME/.local"
scripts/build.sh --play
cmake --build build-play --target desktop_files
cmake --install build-play --prefix "$prefix"
echo "Installed wanderkin under $prefix; build-play/install_manifest.txt lists the files it wrote."
case ":$PATH:" in
*":$prefix/bin:"*) ;;
*) echo "The menu entry runs 'wanderkin', which needs $prefix/bin on your PATH: log in again" \
    "(Debian's ~/.profile adds it once it exists) or add it yourself." ;;
esac
