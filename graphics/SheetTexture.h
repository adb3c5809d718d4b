// Loading a BMP sheet (font or icons) into an OpenGL texture, and the pixel space the sheets
// draw in; shared by FontSet and IconSheet.
#pragma once
#include <GL/gl.h>

// Loads the BMP at `path` and uploads it, top pixel row first, as a three-component texture
// with nearest filtering and the default repeat wrap; the texture stays bound. A sheet that is
// not 24-bit blue-green-red is converted first. Returns the texture name, or 0 after one line
// on standard output naming the file and SDL's reason when the sheet cannot be loaded.
// Needs the GL context, so call it only after the window is open.
GLuint loadSheetTexture(const char* path);

// Binds `texture`, pushes both matrices and sets window pixels (y down from the top-left
// corner) with the origin moved to (x, y), whatever the caller's matrices were.
void beginSheetDrawing(GLuint texture, int x, int y);
// Pops both matrices again; the model-view matrix stays selected.
void endSheetDrawing();

// Compiles `list` to draw the sheet's cell (column, row), `cell` of the texture wide, as a
// size x size quad at the pen, with texturing on only while it draws. Under the texture
// matrix's t -> -t, a row counted from the bottom of the picture comes out upright.
void compileCellList(GLuint list, int column, int row, float cell, float size);
// The same, and then the list moves the pen one cell to the right, as a glyph does.
void compileGlyphList(GLuint list, int column, int row, float cell, float size);
