#!/usr/bin/env bash
# The Debian package a player installs: built with CPack from the build folder, it must hold the
# game, its launcher, its data, the menu entry with its icons, the metainfo and the manual page,
# and nothing else; the entry and the metainfo must pass their validators; and it must ask apt
# for the libraries the game runs on and for no build or test tool.
# Usage: package-test.sh BUILD_DIR   (needs dpkg-dev, desktop-file-utils, appstream, ImageMagick)
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(dirname "$(cd "$(dirname "$0")" && pwd)")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fault() {
    echo "$*"
    failures=$((failures + 1))
}

if ! (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB) >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
deb=$(echo "$work"/wanderkin_*.deb)

id=com.quorlaven.wanderkin
expected="./usr/bin/wanderkin
./usr/lib/wanderkin/wanderkin
./usr/share/applications/$id.desktop
./usr/share/man/man6/wanderkin.6.gz
./usr/share/metainfo/$id.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
    expected+=$'\n'"./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
for file in textures/font.bmp textures/smallfont.bmp textures/icons.bmp audio/blipn.wav \
    audio/bigblip.wav audio/good.wav audio/bad.wav; do
    expected+=$'\n'"./usr/share/wanderkin/$file"
done
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort)
if [ "$files" != "$(sort <<<"$expected")" ]; then
    fault "The package holds other files than expected:"
    diff <(sort <<<"$expected") <(echo "$files") || true
fi
for program in ./usr/bin/wanderkin ./usr/lib/wanderkin/wanderkin; do
    grep -q "^-rwxr-xr-x .* $program\$" <<<"$listing" || fault "$program is not executable"
done

depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
for library in libsdl1.2-compat-shim libsdl-mixer1.2 libgl1 libc6; do
    grep -Eq "(^|[ ,|])$library( |,|$)" <<<"$depends" || fault "Depends lacks $library: $depends"
done
if grep -Eq -- '-dev\b|gtest|googletest|benchmark|xvfb|xdotool|imagemagick|dpkg-dev' \
    <<<"$depends $recommends"; then
    fault "The package asks for build or test tools: $depends; $recommends"
fi
grep -q 'libgl1-mesa-dri' <<<"$recommends" || fault "Recommends lacks the GL driver: $recommends"

root=$work/root
dpkg-deb -x "$deb" "$root"
said=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) ||
    fault "the desktop entry is invalid: $said"
said=$(appstreamcli validate --no-net --pedantic --strict \
    "$root/usr/share/metainfo/$id.metainfo.xml" 2>&1) || fault "the metainfo is invalid: $said"
grep -qx 'Exec=wanderkin' "$root/usr/share/applications/$id.desktop" ||
    fault "the menu entry does not start the launcher"
grep -qx "Icon=$id" "$root/usr/share/applications/$id.desktop" || fault "the entry's icon is not $id"
warnings=$(zcat "$root/usr/share/man/man6/wanderkin.6.gz" | groff -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fault "the manual page has faults: $warnings"

# Each icon has the size its folder names and is the boy's cell of the sheet, upright, scaled
# as ImageMagick scales it (by whole pixels up, averaging down; to within a colour step). The
# sheet keeps its rows top-down in file order, which viewers show flipped.
convert "$source/textures/icons.bmp" -flip -crop 64x64+0+64 +repage "$work/boy.ppm"
for size in 16 24 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fault "$icon is not $size px"
    [ $((64 % size)) -eq 0 ] || [ $((size % 64)) -eq 0 ] || continue # 24, 48: blends differ
    convert "$work/boy.ppm" -scale "${size}x${size}" "$work/expected.ppm"
    differing=$(compare -metric AE -fuzz 1% "$icon" "$work/expected.ppm" null: 2>&1 || true)
    [ "$differing" = 0 ] || fault "the $size px icon differs from the boy in $differing pixels"
done

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): files, entry, metainfo, manual page, icons and dependencies as expected."
