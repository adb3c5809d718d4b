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
    // Icon 8r + c is column c and row r counted from the bottom of the sheet; under the
    // texture matrix's t -> -t it is read bottom-up, so the icon comes out upright. Unlike a
    // glyph, an icon does not move the pen.
    const float cell = 0.125f;
    const float size = static_cast<float>(iconSize);
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const float s0 = c * cell, s1 = s0 + cell;
            const float t0 = r * cell, t1 = t0 + cell;
            glNewList(iconLists + 8 * r + c, GL_COMPILE);
            glEnable(GL_TEXTURE_2D);
            glBegin(GL_QUADS);
            glTexCoord2f(s0, t1);
            glVertex2f(0, size);
            glTexCoord2f(s1, t1);
            glVertex2f(size, size);
            glTexCoord2f(s1, t0);
            glVertex2f(size, 0);
            glTexCoord2f(s0, t0);
            glVertex2f(0, 0);
            glEnd();
            glDisable(GL_TEXTURE_2D);
            glEndList();
        }
    }
}

void IconSheet::drawIcon(int x, int y, int n) {
    beginSheetDrawing(iconTexture, x, y);
    glCallList(iconLists + n);
    endSheetDrawing();
}
