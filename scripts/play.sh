#!/usr/bin/env bash
# Installs what building and playing need (only what is missing), builds the game alone, and
# starts it from the repository root, where it finds textures/ and audio/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --play
scripts/build.sh --play
exec ./build-play/wanderkin
