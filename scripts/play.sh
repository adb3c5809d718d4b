#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from the repository root,
# where it finds textures/ and audio/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec ./build/wanderkin
