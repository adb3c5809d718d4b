// The icon sheet: 8 x 8 cells of 64 px, one display list per icon.
#include "graphics/IconSheet.h"

#include "graphics/SheetTexture.h"

namespace {
// The sheet is 8 x 8 cells, each an icon of 64 x 64 pixels on screen.
const int cellsPerSide = 8;
const int iconCount = cellsPerSide * cellsPerSide;
const int iconSize = 64;
} // namespace

IconSheet::IconSheet() : IconSheet("textures/icons.bmp") {}

IconSheet::IconSheet(const char* sheetPath) {
    iconTexture = loadSheetTexture(sheetPath);
    iconLists = glGenLists(iconCount);
    glBindTexture(GL_TEXTURE_2D, iconTexture);
    // Icon 8r + c is column c and row r counted from the bottom of the sheet. Unlike a glyph,
    // an icon does not move the pen.
    for (int r = 0; r < cellsPerSide; ++r)
        for (int c = 0; c < cellsPerSide; ++c)
            compileCellList(iconLists + cellsPerSide * r + c, c, r, 1.0f / cellsPerSide, iconSize);
}

void IconSheet::drawIcon(int x, int y, int n) {
    beginSheetDrawing(iconTexture, x, y);
    glCallList(iconLists + n);
    endSheetDrawing();
}
