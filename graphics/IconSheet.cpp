// The icon sheet: one display list per cell (graphics/SheetGeometry.h), each an icon drawn
// as large on screen as its cell is on the sheet.
#include "graphics/IconSheet.h"

#include "graphics/SheetGeometry.h"
#include "graphics/SheetTexture.h"

IconSheet::IconSheet() : IconSheet("textures/icons.bmp") {}

IconSheet::IconSheet(const char* sheetPath) {
    iconTexture = loadSheetTexture(sheetPath);
    iconLists = glGenLists(iconCount);
    glBindTexture(GL_TEXTURE_2D, iconTexture);
    // Icon iconsPerRow r + c is column c and row r counted from the bottom of the sheet. Unlike
    // a glyph, an icon does not move the pen.
    for (int r = 0; r < iconsPerRow; ++r)
        for (int c = 0; c < iconsPerRow; ++c)
            compileCellList(iconLists + iconsPerRow * r + c, c, r, 1.0f / iconsPerRow,
                            iconCellSize);
}

void IconSheet::drawIcon(int x, int y, int n) {
    beginSheetDrawing(iconTexture, x, y);
    glCallList(iconLists + n);
    endSheetDrawing();
}
