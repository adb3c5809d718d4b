// How a player makes each move and each gesture, for the rules tests and the end-to-end replay:
// '.' Space, ^ v < > the arrow keys, U D L R a pointing gesture, C the U-shape, Z the sale and P
// the proposition; a number repeats the move after it ("3." is "...").
#pragma once
#include <cctype>
#include <string>

#include "gesture/GestureTemplates.h"

constexpr const char* moveKeys = "^v<>.";
constexpr const char* gestureMoves = "UDLRCZP"; // in gesture id order

// Each gesture's stroke as the direction of each 30-pixel sample ('0' right, clockwise on the
// screen to '7' up-right). The matching leaves out a stroke's last code, so each has one extra.
inline const char* const gestureStrokes[gestureCount] = {
    "6666666", "2222222", "4444444", "0000000", "22345666", "00333000", "1107765437011"};
// A sample's step across for each direction code; its step down is that of the code a quarter
// turn back.
constexpr int strokeStepX[8] = {30, 21, 0, -21, -30, -21, 0, 21};
inline int strokeStepY(int code) {
    return strokeStepX[(code + 6) % 8];
}

// The moves with each number spelt out.
inline std::string expandMoves(const std::string& moves) {
    std::string spelt;
    for (size_t i = 0, digits = 0; i < moves.size(); ++i, digits = 0) {
        const int times = std::isdigit(moves[i]) ? std::stoi(moves.substr(i), &digits) : 1;
        spelt.append(times, moves[i += digits]);
    }
    return spelt;
}
