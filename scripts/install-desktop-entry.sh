#!/usr/bin/env bash
# Adds wanderkin to the desktop's application menu for the current user. The entry starts the
# game in this repository's root, where it finds textures/ and audio/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -x "$root/build/wanderkin" ]; then
    echo "Build the game first: $root/scripts/play.sh or $root/scripts/build.sh"
    exit 1
fi
entries="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$entries"
cat > "$entries/wanderkin.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=wanderkin
Comment=Walk a boy through six short scenes, announcing every move with a gesture
Exec="$root/build/wanderkin"
Path=$root
Terminal=false
Categories=Game;
ENTRY
echo "Added $entries/wanderkin.desktop"
