#!/usr/bin/env bash
# Plays the whole game on an X server of its own (640 x 480, 24-bit) and saves its screens to
# docs/screenshots/: each scene as it starts, scene 4 in its late forms, a five-line text in the
# message box, and the pointer over the brightest icon of the boards (the wall) and the darkest
# (the void). Each step waits until the screen has stopped changing. Not a test: the end-to-end
# test checks what these show.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --on-own-server ]; then
    # The build's progress is not wanted here, its errors are.
    if ! log=$(scripts/build.sh --play 2>&1); then
        echo "$log"
        exit 1
    fi
    exec scripts/own-x-server.sh "$0" --on-own-server
fi

shots=docs/screenshots
mkdir -p "$shots"
SDL_AUDIODRIVER=dummy build-play/wanderkin >/dev/null 2>&1 &
game=$!
work=$(mktemp -d)
trap 'kill "$game" 2>/dev/null || true; rm -rf "$work"' EXIT

screen() { import -window root -depth 8 rgb:- 2>/dev/null | md5sum; }
# Waits until the screen differs from $last and then holds still for half a second (longer than
# a blink of the boy); $last is then what it shows.
settle() {
    local now still=0
    while [ "$(screen)" = "$last" ]; do sleep 0.1; done
    last=$(screen)
    while [ $still -lt 3 ]; do
        sleep 0.2
        now=$(screen)
        if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0 last=$now; fi
    done
}
shoot() { import -window root "$shots/$1.png"; }
# Whether any pixel of the W x H rectangle at (X, Y) is lit.
lit() {
    import -window root "$work/screen.ppm" 2>/dev/null &&
        [ "$(convert "$work/screen.ppm" -crop "$3x$4+$1+$2" +repage -format '%[max]' info:)" != 0 ]
}
key() { xdotool key "$1"; }
move() { xdotool mousemove_relative -- "$1" "$2"; }

# Moves as the end-to-end test writes them: '.' Space, ^ v < > the arrow keys, U D L R a
# pointing gesture, C the U-shape, Z the sale, P the proposition; a number repeats the next.
declare -A keys=(['.']=space ['^']=Up [v]=Down ['<']=Left ['>']=Right)
declare -A strokes=([U]=6666666 [D]=2222222 [L]=4444444 [R]=0000000 [C]=22345666 [Z]=00333000
    [P]=1107765437011)
stepX=(30 21 0 -21 -30 -21 0 21) # a sample's step in each direction code; down is a quarter back
stroke() {
    local codes=$1 x=0 y=0 i c
    move $((320 - 600)) $((240 - 420))
    xdotool mousedown 1
    for ((i = 0; i < ${#codes}; i++)); do
        c=${codes:i:1}
        before=$(screen)
        move "${stepX[c]}" "${stepX[(c + 6) % 8]}"
        while [ "$(screen)" = "$before" ]; do :; done # a sample a frame
        x=$((x + stepX[c])) y=$((y + stepX[(c + 6) % 8]))
    done
    xdotool mouseup 1
    move $((600 - 320 - x)) $((420 - 240 - y))
}
play() {
    local moves=$1 i count=""
    for ((i = 0; i < ${#moves}; i++)); do
        local m=${moves:i:1}
        if [[ $m == [0-9] ]]; then count+=$m && continue; fi
        for ((n = 0; n < ${count:-1}; n++)); do
            if [ -n "${strokes[$m]:-}" ]; then stroke "${strokes[$m]}"; else key "${keys[$m]}"; fi
            settle
        done
        count=""
    done
}

until lit 160 120 320 240; do sleep 0.1; done # the intro's square
key space
until lit 253 258 80 16 && ! lit 0 0 640 100; do sleep 0.1; done # the title, faded in
# The mouse to rest at the bottom right, from the corner where SDL and X both keep it; the title
# trembles every frame, and a tenth of a second holds a few.
for step in "-200 -200" "-200 -200" "-200 -200" "-200 -200" "320 240" "280 180"; do
    move $step && sleep 0.1
done
until lit 0 0 640 100; do key space && sleep 0.5; done # until the dissolve, past the fade-in
last=""
settle && shoot scene0
play ".^^<^..<<..^^...."
settle && shoot scene1
play "." && shoot text-box
play "7."
move -448 -268 && settle && shoot pointer-bright
move -128 0 && settle && shoot pointer-dark
move 576 268 && settle
play "U^^^..DvvL<<."
settle && shoot scene2
play "10.CDvvL<<<<."
settle && shoot scene3
play ".CDv>4.CDvR>>>>U^^2.P."
settle && shoot scene4
play "12." && shoot scene4-late
play "6.^Z.^^Z.v>>>Z.Z."
settle && shoot scene5
ls "$shots"
