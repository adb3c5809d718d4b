#!/bin/sh
# The README's gesture pictures are the strokes the recognizer accepts today: the tool redraws
# them (and fails if a stroke is no longer recognised) and they must equal the committed ones.
# Usage: gesture-pictures-test.sh GESTUREPICTURES_BINARY COMMITTED_DIR
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" "$out"
if ! diff -r "$2" "$out"; then
    echo "The gesture pictures are out of date: run scripts/gesture-pictures.sh and commit them."
    exit 1
fi
