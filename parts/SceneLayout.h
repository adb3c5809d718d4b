// Where the scene part draws on the window: the board's cells, the message box and its text,
// and the pointer.
#pragma once
#include "graphics/SheetGeometry.h"

namespace SceneLayout {
// A board cell is one icon; ten columns fill the width and the eighth row is cut in half.
constexpr int cellSize = iconCellSize;
// The message box over the top of the board.
constexpr int boxLeft = 179;
constexpr int boxTop = 4;
constexpr int boxRight = 525;
constexpr int boxBottom = 100;
// Its text: the first line's top-left corner, the characters a line holds, and the lines that
// fit in the box.
constexpr int textX = 185;
constexpr int textY = 11;
constexpr int textWidth = 20;
constexpr int textLines = 5;
// The pixel of the pointer icon that lies on the mouse position: the tip of its arrow.
constexpr int pointerTipX = 9;
constexpr int pointerTipY = 10;
} // namespace SceneLayout
