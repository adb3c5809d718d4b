// The sheet of square icons (graphics/SheetGeometry.h) from which every scene picture is drawn.
#pragma once
#include <GL/gl.h>

class IconSheet {
  public:
    // Loads textures/icons.bmp and builds one display list per icon. Called once by Video
    // after the GL state is set; lives for the whole run.
    IconSheet();
    // The same from another sheet file (tests). A sheet that cannot be loaded is reported and
    // left out: iconTexture stays 0 and the lists are built all the same.
    explicit IconSheet(const char* sheetPath);

    // Draws icon n (below iconCount, not checked) with its top-left corner at window pixel (x, y),
    // in the current colour, blending and stipple. Restores both matrices (model-view stays
    // selected) and leaves 2D texturing disabled.
    void drawIcon(int x, int y, int n);

    GLuint iconLists = 0;
    GLuint iconTexture = 0;
};
