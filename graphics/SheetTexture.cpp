// Loading a BMP sheet into an OpenGL texture.
#include "graphics/SheetTexture.h"

#include "graphics/Screen.h"

#include <SDL/SDL.h>

#include <cstring>
#include <iostream>
#include <vector>

namespace {
// Masks of a 24-bit surface whose bytes lie blue, green, red in memory, as GL_BGR reads them.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
const Uint32 redMask = 0xFF0000, greenMask = 0x00FF00, blueMask = 0x0000FF;
#else
const Uint32 redMask = 0x0000FF, greenMask = 0x00FF00, blueMask = 0xFF0000;
#endif

bool isBgr24(const SDL_PixelFormat* format) {
    return format->BytesPerPixel == 3 && format->Rmask == redMask && format->Gmask == greenMask &&
           format->Bmask == blueMask;
}

// Any other layout (a palette, 16 or 32 bits, red first) would be read past its end or in the
// wrong colours as GL_BGR, so it is copied into the one layout the upload understands.
SDL_Surface* convertToBgr24(SDL_Surface* picture) {
    SDL_Surface* model =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, redMask, greenMask, blueMask, 0);
    if (!model)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurface(picture, model->format, SDL_SWSURFACE);
    SDL_FreeSurface(model);
    return converted;
}

void upload(SDL_Surface* sheet) {
    const int rowBytes = sheet->w * 3;
    const int alignedRowBytes = (rowBytes + 3) & ~3;
    if (SDL_MUSTLOCK(sheet))
        SDL_LockSurface(sheet);
    const Uint8* pixels = static_cast<const Uint8*>(sheet->pixels);
    // GL reads rows padded to 4 bytes (its default unpack alignment); repack if SDL padded
    // them differently.
    std::vector<Uint8> repacked;
    if (sheet->pitch != alignedRowBytes) {
        repacked.resize(static_cast<size_t>(alignedRowBytes) * sheet->h);
        for (int y = 0; y < sheet->h; ++y)
            std::memcpy(&repacked[static_cast<size_t>(y) * alignedRowBytes],
                        pixels + static_cast<size_t>(y) * sheet->pitch, rowBytes);
        pixels = repacked.data();
    }
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, sheet->w, sheet->h, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (SDL_MUSTLOCK(sheet))
        SDL_UnlockSurface(sheet);
}
} // namespace

GLuint loadSheetTexture(const char* path) {
    // Opened separately so that a missing file reports why it could not be opened.
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    SDL_Surface* picture = file ? SDL_LoadBMP_RW(file, 1) : nullptr;
    if (!picture) {
        std::cout << "Could not load " << path << ": " << SDL_GetError() << std::endl;
        return 0;
    }
    SDL_Surface* sheet = picture;
    if (!isBgr24(picture->format)) {
        sheet = convertToBgr24(picture);
        if (!sheet) {
            std::cout << "Could not load " << path
                      << ": cannot convert it to 24 bits: " << SDL_GetError() << std::endl;
            SDL_FreeSurface(picture);
            return 0;
        }
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    upload(sheet);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    if (sheet != picture)
        SDL_FreeSurface(sheet);
    SDL_FreeSurface(picture);
    return texture;
}

void beginSheetDrawing(GLuint texture, int x, int y) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, screenWidth, screenHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0);
}

void endSheetDrawing() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

namespace {
// The cell's quad at the pen, textured only while it draws.
void drawCell(int column, int row, float cell, float size) {
    const float s0 = column * cell, s1 = s0 + cell;
    const float t0 = row * cell, t1 = t0 + cell;
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
}
} // namespace

void compileCellList(GLuint list, int column, int row, float cell, float size) {
    glNewList(list, GL_COMPILE);
    drawCell(column, row, cell, size);
    glEndList();
}

void compileGlyphList(GLuint list, int column, int row, float cell, float size) {
    glNewList(list, GL_COMPILE);
    drawCell(column, row, cell, size);
    glTranslated(size, 0, 0);
    glEndList();
}
