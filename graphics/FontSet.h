// The two bitmap fonts as display lists, and text drawing at window pixel positions.
#pragma once
#include <GL/gl.h>

class FontSet {
public:
    // Loads textures/font.bmp and textures/smallfont.bmp and builds 256 lists for each.
    FontSet();

    // Big font (16 px): glyph k of the text has its top-left corner at (x + 16k, y).
    // A glyph set above 1 counts as 1. Leaves 2D texturing disabled.
    void drawText(int x, int y, const char* text, int glyphSet);
    // The same with the small font (8 px).
    void drawSmallText(int x, int y, const char* text, int glyphSet);
    // Big font, set 0, broken into lines of at most `width` characters, 16 px apart.
    void drawWrappedText(int x, int y, int width, const char* text);

    GLuint bigLists = 0;
    GLuint smallLists = 0;
    GLuint bigTexture = 0;
    GLuint smallTexture = 0;
};
