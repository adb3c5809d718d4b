// The two texts with which someone refuses a move: the first time, and every time after.
#pragma once
#include <string>

struct MoveRefusal {
    std::string firstText; // empty switches the refusal off
    std::string repeatText;
    bool said = false;
};
