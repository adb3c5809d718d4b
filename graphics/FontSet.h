// The two bitmap fonts as display lists, and text drawing at window pixel positions.
#pragma once
#include <GL/gl.h>

class FontSet {
  public:
    // Loads textures/font.bmp and textures/smallfont.bmp and builds a list for every cell of each.
    // Called once by Video after the GL state and projection are set; lives for the whole run.
    // A sheet that cannot be loaded is reported and left out (its texture stays 0).
    FontSet();

    // Big font (bigGlyphSize px, graphics/SheetGeometry.h): glyph k of the text has its top-left
    // corner at (x + k bigGlyphSize, y). Set 0 is the plain style, set 1 the inverted one; a set
    // above 1 counts as 1 and below 0 as 0. A byte the font has no glyph for (outside
    // firstGlyphCode to lastGlyphCode) draws nothing and takes no room. Draws in the current
    // colour, blending and stipple; restores both matrices (model-view stays selected) and
    // leaves 2D texturing disabled.
    void drawText(int x, int y, const char* text, int glyphSet);
    // The same with the small font (smallGlyphSize px).
    void drawSmallText(int x, int y, const char* text, int glyphSet);
    // Big font, set 0, broken into lines of at most `width` characters (see TextLayout), the
    // first line at (x, y) and each further one a big glyph lower. Allocates nothing.
    void drawWrappedText(int x, int y, int width, const char* text);

    GLuint bigLists = 0;
    GLuint smallLists = 0;
    GLuint bigTexture = 0;
    GLuint smallTexture = 0;

  private:
    void drawGlyphs(int x, int y, const char* bytes, int count, GLuint texture, GLuint lists,
                    int glyphSet);
};
