// The two bitmap fonts: one display list per cell of each sheet (graphics/SheetGeometry.h).
#include "graphics/FontSet.h"

#include <cstring>

#include "graphics/SheetGeometry.h"
#include "graphics/SheetTexture.h"
#include "graphics/TextLayout.h"

namespace {
const int glyphEntries = glyphsPerRow * glyphsPerRow;

// List j draws entry j as a size x size quad at the pen and moves the pen one glyph right.
// Entry j is column j mod glyphsPerRow and row j div glyphsPerRow counted from the bottom of
// the sheet: the texture matrix turns t into -t, so with repeat wrapping the quad reads its
// cell from the bottom of the picture upwards, and the top of the glyph comes out on top.
void buildGlyphLists(GLuint first, GLuint texture, int size) {
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int j = 0; j < glyphEntries; ++j)
        compileGlyphList(first + j, j % glyphsPerRow, j / glyphsPerRow, 1.0f / glyphsPerRow,
                         static_cast<float>(size));
}
} // namespace

FontSet::FontSet() {
    bigTexture = loadSheetTexture("textures/font.bmp");
    smallTexture = loadSheetTexture("textures/smallfont.bmp");
    bigLists = glGenLists(glyphEntries);
    buildGlyphLists(bigLists, bigTexture, bigGlyphSize);
    smallLists = glGenLists(glyphEntries);
    buildGlyphLists(smallLists, smallTexture, smallGlyphSize);
}

void FontSet::drawGlyphs(int x, int y, const char* bytes, int count, GLuint texture, GLuint lists,
                         int glyphSet) {
    beginSheetDrawing(texture, x, y);
    const int set = glyphSet > 1 ? 1 : (glyphSet < 0 ? 0 : glyphSet);
    // Each byte names its list directly, as the sheet numbers its entries. A byte with no glyph
    // (a control byte, or one past the last code) would name some other list, so it is left
    // out: the glyphs on either side of it are drawn as runs, and it takes no room.
    glListBase(lists - firstGlyphCode + glyphsPerSet * set);
    const unsigned char* codes = reinterpret_cast<const unsigned char*>(bytes);
    int runStart = 0;
    for (int i = 0; i <= count; ++i) {
        if (i < count && codes[i] >= firstGlyphCode && codes[i] <= lastGlyphCode)
            continue;
        if (i > runStart)
            glCallLists(i - runStart, GL_UNSIGNED_BYTE, codes + runStart);
        runStart = i + 1;
    }
    endSheetDrawing();
}

void FontSet::drawText(int x, int y, const char* text, int glyphSet) {
    drawGlyphs(x, y, text, static_cast<int>(std::strlen(text)), bigTexture, bigLists, glyphSet);
}

void FontSet::drawSmallText(int x, int y, const char* text, int glyphSet) {
    drawGlyphs(x, y, text, static_cast<int>(std::strlen(text)), smallTexture, smallLists, glyphSet);
}

void FontSet::drawWrappedText(int x, int y, int width, const char* text) {
    TextLayout layout(text, width);
    TextPiece piece;
    for (int lineY = y; layout.next(piece); lineY += bigGlyphSize) {
        // A piece that is only a newline is an empty line; the newline itself has no glyph.
        drawGlyphs(x, lineY, text + piece.offset, piece.length, bigTexture, bigLists, 0);
    }
}
