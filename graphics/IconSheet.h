// The 8 x 8 sheet of 64-px icons from which every scene picture is drawn.
#pragma once
#include <GL/gl.h>

class IconSheet {
public:
    // Loads textures/icons.bmp and builds one display list per icon.
    IconSheet();

    // Draws icon n (0 to 63) with its top-left corner at window pixel (x, y).
    // Leaves 2D texturing disabled.
    void drawIcon(int x, int y, int n);

    GLuint iconLists = 0;
    GLuint iconTexture = 0;
};
