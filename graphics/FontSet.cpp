// The two bitmap fonts: each sheet is 16 x 16 cells, one display list per cell.
#include "graphics/FontSet.h"

#include <cstring>

#include "graphics/SheetTexture.h"
#include "graphics/TextLayout.h"

namespace {
// The sheet is 16 x 16 cells, one glyph entry each.
const int cellsPerSide = 16;
const int glyphEntries = cellsPerSide * cellsPerSide;
const int glyphsPerSet = 128;
// The codes a sheet has glyphs for, the space to the tilde; entry 0 of a set is the space.
const int firstCode = 32;
const int lastCode = 126;
const int bigGlyphSize = 16;
const int smallGlyphSize = 8;

// List j draws entry j as a size x size quad at the pen and moves the pen one glyph right.
// Entry j is column j mod 16 and row j div 16 counted from the bottom of the sheet: the
// texture matrix turns t into -t, so with repeat wrapping the quad reads its cell from the
// bottom of the picture upwards, and the top of the glyph comes out on top.
void buildGlyphLists(GLuint first, GLuint texture, int size) {
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int j = 0; j < glyphEntries; ++j)
        compileGlyphList(first + j, j % cellsPerSide, j / cellsPerSide, 1.0f / cellsPerSide,
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
    // Each byte names its list directly: code c of set s is entry c - 32 + 128 s. A byte with
    // no glyph (a control byte, or 127 and above) would name some other list, so it is left
    // out: the glyphs on either side of it are drawn as runs, and it takes no room.
    glListBase(lists - firstCode + glyphsPerSet * set);
    const unsigned char* codes = reinterpret_cast<const unsigned char*>(bytes);
    int runStart = 0;
    for (int i = 0; i <= count; ++i) {
        if (i < count && codes[i] >= firstCode && codes[i] <= lastCode)
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
