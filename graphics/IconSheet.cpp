// The icon sheet: 8 x 8 cells of 64 px, one display list per icon.
#include "graphics/IconSheet.h"

#include "graphics/SheetTexture.h"

namespace {
const int iconCount = 64;
const int iconSize = 64;
} // namespace

IconSheet::IconSheet() : IconSheet("textures/icons.bmp") {}

IconSheet::IconSheet(const char* sheetPath) {
    iconTexture = loadSheetTexture(sheetPath);
    iconLists = glGenLists(iconCount);
    glBindTexture(GL_TEXTURE_2D, iconTexture);
    // Icon 8r + c is column c and row r counted from the bottom of the sheet. Unlike a glyph,
    // an icon does not move the pen.
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            compileCellList(iconLists + 8 * r + c, c, r, 0.125f, iconSize, false);
}

void IconSheet::drawIcon(int x, int y, int n) {
    beginSheetDrawing(iconTexture, x, y);
    glCallList(iconLists + n);
    endSheetDrawing();
}
