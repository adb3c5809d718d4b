// The four directions of a move on the board, as the arrow keys give them. Each has the number
// of the pointing gesture that allows it, so "pointed that way" is a plain comparison.
#pragma once
#include "gesture/GestureTemplates.h"

enum Direction {
    moveUp = pointUp,
    moveDown = pointDown,
    moveLeft = pointLeft,
    moveRight = pointRight,
    directionCount = 4
};

// The row and column a move in each direction adds; row 0 is the top of the board.
constexpr int rowStep[directionCount] = {-1, 1, 0, 0};
constexpr int columnStep[directionCount] = {0, 0, -1, 1};

// The order in which the rules look round the boy: left, right, above, below. Which of two
// houses beside him buys, and the order of the sale's diagnostic line, follow it.
constexpr Direction neighbourOrder[directionCount] = {moveLeft, moveRight, moveUp, moveDown};
