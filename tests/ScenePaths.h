// How a player gets through each scene, and the stroke that makes each gesture: shared by the
// rules-level play of the scenes and the end-to-end replay of the real game.
#pragma once
#include "gesture/GestureTemplates.h"

// Each gesture's stroke as the direction of each 30-pixel sample ('0' right, clockwise on the
// screen to '7' up-right). The matching leaves out a stroke's last code, so each has one extra.
inline const char* const gestureStrokes[gestureCount] = {
    "6666666", "2222222", "4444444", "0000000", "22345666", "00333000", "1107765437011"};

// Moves: '.' Space, ^ v < > the arrow keys, U D L R a pointing gesture, C the U-shape, Z the
// sale and P the proposition; a number repeats the move after it. Each path ends its scene.
inline const char* const scenePaths[] = {
    ".^^<^..<<..^^....",      // the mother, the table, the walls and the floor are named
    "8.U^^^..DvvL<<.",        // point the way to the mother, then to the table
    "10.CDvvL<<<<.",          // end the talk with the U-shape, then go to the table
    ".CDv>4.CDvR>>>>U^^2.P.", // greet the friend, go round the wall, win the stranger
    "18.^Z.^^Z.v>>>Z.Z.",     // hear the boss out, then sell to the four houses
    "5..",                    // six lines over the void
};
constexpr const char* moveKeys = "^v<>.";
constexpr const char* gestureMoves = "UDLRCZP"; // in gesture id order
