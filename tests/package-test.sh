#!/usr/bin/env bash
# The Debian package a player installs, built the packager's way (dpkg-buildpackage, from a copy
# of this tree, without its own tests). lintian must have nothing to say, pedantic notes
# included. It must hold the launcher, the game and its data in Debian's games layout, the menu
# entry with its icons, the metainfo, the manual page, the copyright and the changelog, and
# nothing else; it must ask apt for the libraries the game runs on and for no build or test
# tool. Beyond what the validators see: the menu lists it under games, the metainfo launches the
# entry the package installs, the launcher starts the game from anywhere, and the release facts
# agree with their one home.
# Usage: package-test.sh   (needs debhelper, lintian, desktop-file-utils, appstream, groff and
# ImageMagick)
set -euo pipefail
source=$(dirname "$(cd "$(dirname "$0")" && pwd)")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fault() {
    echo "$*"
    failures=$((failures + 1))
}
# A setting of packaging/CMakeLists.txt, where the icon sizes and the content note live: the
# value after the name, on the same line or the next.
setting() {
    sed -n "/^set($1\$/{n;s/^ *//;p};s/^set($1 \(.*\))\$/\1/p" "$source/packaging/CMakeLists.txt" |
        sed 's/)$//; s/^"\(.*\)"$/\1/'
}
# A number the game's sources define as "constexpr int NAME = VALUE;": FILE NAME.
constant() { sed -n "s/^constexpr int $2 = \([0-9]*\);.*/\1/p" "$source/$1"; }
flat() { tr -s ' \n' '  '; }

# The tree as a clean clone has it, without build folders; the package lands beside it.
mkdir "$work/wanderkin"
tar -C "$source" --exclude-vcs --exclude='./build*' --exclude='./obj-*' -cf - . |
    tar -C "$work/wanderkin" -xf -
if ! (cd "$work/wanderkin" && DEB_BUILD_OPTIONS="nocheck parallel=2" \
    dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log"
    exit 1
fi
deb=$(echo "$work"/wanderkin_*_*.deb)
said=$(lintian --pedantic --display-info --fail-on error,warning,info,pedantic \
    "$work"/wanderkin_*.changes 2>&1) || fault "lintian: $said"
# dpkg-buildflags' own -Werror=format-security is welcome; warnings as errors across the board
# would stop the package on the next compiler's new warning.
grep -Eq -- '-Werror( |$)' "$work/build.log" && fault "the package is built with -Werror"

id=com.quorlaven.wanderkin
expected="./usr/games/wanderkin
./usr/lib/games/wanderkin/wanderkin
./usr/share/applications/$id.desktop
./usr/share/doc/wanderkin/changelog.gz
./usr/share/doc/wanderkin/copyright
./usr/share/man/man6/wanderkin.6.gz
./usr/share/metainfo/$id.metainfo.xml"
sizes=$(setting WANDERKIN_ICON_SIZES)
[ -n "$sizes" ] || fault "packaging/CMakeLists.txt names no icon sizes"
for size in $sizes; do
    expected+=$'\n'"./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
for file in textures/font.bmp textures/smallfont.bmp textures/icons.bmp audio/blipn.wav \
    audio/bigblip.wav audio/good.wav audio/bad.wav; do
    expected+=$'\n'"./usr/share/games/wanderkin/$file"
done
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort)
if [ "$files" != "$(sort <<<"$expected")" ]; then
    fault "The package holds other files than expected:"
    diff <(sort <<<"$expected") <(echo "$files") || true
fi
for program in ./usr/games/wanderkin ./usr/lib/games/wanderkin/wanderkin; do
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
entry=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
said=$(desktop-file-validate "$entry" 2>&1) || fault "the desktop entry is invalid: $said"
said=$(appstreamcli validate --no-net --pedantic --strict "$metainfo" 2>&1) ||
    fault "the metainfo is invalid: $said"
grep -qx 'Exec=wanderkin' "$entry" || fault "the menu entry does not start the launcher"
grep -qx "Icon=$id" "$entry" || fault "the entry's icon is not $id"
grep -Eqx 'Categories=(.*;)?Game;.*' "$entry" || fault "the menu does not list it under games"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] ||
    fault "the metainfo launches '$launchable', which the package does not install"
homepage=$(sed -n 's|.*<url type="homepage">\(.*\)</url>.*|\1|p' "$metainfo")
[ "$homepage" = "$(dpkg-deb -f "$deb" Homepage)" ] ||
    fault "the metainfo's home page $homepage is not the package's"
manual=$(zcat "$root/usr/share/man/man6/wanderkin.6.gz")
warnings=$(groff -man -Tutf8 -ww -z <<<"$manual" 2>&1)
[ -z "$warnings" ] || fault "the manual page has faults: $warnings"

# The launcher starts the game in its data folder from anywhere, with the player's arguments,
# and passes its status on: seen through a stand-in for the game. The game itself, without a
# display, ends with status 1 and says why.
launcher=$root/usr/games/wanderkin
game=$root/usr/lib/games/wanderkin/wanderkin
status=0
said=$(cd / && DISPLAY=:199 WAYLAND_DISPLAY='' SDL_AUDIODRIVER=dummy "$launcher" 2>&1) || status=$?
[ "$status" = 1 ] && grep -q '^Video initialization failed' <<<"$said" ||
    fault "the packaged game did not start (status $status): $said"
printf '#!/bin/sh\necho "$(pwd -P)"; printf "[%%s]" "$@"\nexit 3\n' >"$game"
chmod +x "$game"
status=0
said=$(cd / && "$launcher" a 'b c') || status=$?
[ "$status" = 3 ] && [ "$said" = "$root/usr/share/games/wanderkin"$'\n'"[a][b c]" ] ||
    fault "the launcher ran the game as '$said' with status $status, not in its data folder"

# The release's version and date come from debian/changelog, the content note from
# packaging/CMakeLists.txt; every text that states them must agree.
version=$(cd "$source" && dpkg-parsechangelog -S Version)
date=$(date -u -d "$(cd "$source" && dpkg-parsechangelog -S Date)" +%F)
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fault "the package is not version $version"
grep -q "<release version=\"$version\" date=\"$date\">" "$metainfo" ||
    fault "the metainfo's release is not $version of $date"
grep -q "^\.TH WANDERKIN 6 $date \"wanderkin $version\"" <<<"$manual" ||
    fault "the manual page is not of $version, $date"
grep -q "wanderkin_${version}_amd64.deb" "$source/README.md" ||
    fault "the README does not name the package of $version"
note=$(setting WANDERKIN_CONTENT_NOTE)
[ -n "$note" ] || fault "packaging/CMakeLists.txt has no content note"
for text in README:"$(flat <"$source/README.md" | sed 's/\*\*Content note:\*\*/Content note:/')" \
    description:"$(dpkg-deb -f "$deb" Description | sed 's/^ //' | flat)" \
    metainfo:"$(flat <"$metainfo")" manual:"$(flat <<<"$manual")"; do
    grep -qF "Content note: $note" <<<"${text#*:}" || fault "the ${text%%:*}'s content note differs"
done

# Each icon has the size its folder names and is the boy's cell of the sheet, upright, scaled
# as ImageMagick scales it (by whole pixels up, averaging down; to within a colour step). The
# sheet keeps its rows top-down in file order, which viewers show flipped.
cell=$(constant graphics/SheetGeometry.h iconCellSize)
columns=$(constant graphics/SheetGeometry.h iconsPerRow)
boy=$(constant parts/Icons.h boy)
crop=${cell}x${cell}+$((boy % columns * cell))+$((boy / columns * cell))
convert "$source/textures/icons.bmp" -flip -crop "$crop" +repage "$work/boy.ppm"
for size in $sizes; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fault "$icon is not $size px"
    [ $((cell % size)) -eq 0 ] || [ $((size % cell)) -eq 0 ] || continue # 24, 48: blends differ
    convert "$work/boy.ppm" -scale "${size}x${size}" "$work/expected.ppm"
    differing=$(compare -metric AE -fuzz 1% "$icon" "$work/expected.ppm" null: 2>&1 || true)
    [ "$differing" = 0 ] || fault "the $size px icon differs from the boy in $differing pixels"
done

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): lintian, files, entry, metainfo, manual page, launcher, release," \
    "icons and dependencies as expected."
