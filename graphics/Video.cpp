// Window set-up, GL state, dithered fills and the dissolve between parts.
#include "graphics/Video.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "graphics/FontSet.h"
#include "graphics/IconSheet.h"
#include "graphics/Screen.h"
#include "graphics/StipplePatterns.h"
#include "sound/SoundSystem.h"

namespace {
const int bitsPerPixel = 32;
// The dissolve adds this much white a step, in single precision: 201 steps from 0 past 1.
const double dissolveStep = 0.005;
const Uint32 baseModeFlags =
    SDL_OPENGL | SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RESIZABLE | SDL_HWPALETTE;

// SDL falls back to a driver without any screen when there is no display; a window there
// would be invisible, so that counts as no video unless the player asked for that driver.
bool onlyHeadlessVideo() {
    char name[32] = "";
    if (!SDL_VideoDriverName(name, sizeof name))
        return false;
    bool headless = std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0;
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    return headless && !(requested && std::strcmp(requested, name) == 0);
}

[[noreturn]] void endWithoutWindow(const char* what) {
    std::cout << what << SDL_GetError() << std::endl;
    // Sound is already playing; stop its thread before the libraries unload at exit.
    SDL_Quit();
    std::exit(1);
}
} // namespace

Video::Video() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        endWithoutWindow("Video initialization failed: ");
    if (onlyHeadlessVideo()) {
        SDL_SetError("no display to open the window on");
        endWithoutWindow("Video initialization failed: ");
    }
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info)
        std::cout << "Video query failed: " << SDL_GetError() << std::endl;
    Uint32 flags = baseModeFlags;
    if (info && info->blit_hw)
        flags |= SDL_HWACCEL;
    flags |= SDL_FULLSCREEN;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 2);
    screen = SDL_SetVideoMode(screenWidth, screenHeight, bitsPerPixel, flags);
    SDL_ShowCursor(SDL_DISABLE);
    if (!screen)
        endWithoutWindow("Video mode set failed: ");
    initGL();
    setProjection(screenWidth, screenHeight);
    font = new FontSet;
    icons = new IconSheet;
}

void Video::initGL() {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glLineWidth(1.5f);
    glClearColor(0, 0, 0, 0.5f);
    // Texture coordinates (s, t) become (s, -t): the sheets are uploaded top row first, and
    // every glyph and icon lookup is written against this flip.
    glMatrixMode(GL_TEXTURE);
    glRotatef(180, 0, 0, 1);
    glScalef(-1, 1, 1);
    glMatrixMode(GL_MODELVIEW);
}

bool Video::setProjection(int width, int height) {
    glViewport(0, 0, width, height == 0 ? 1 : height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, screenWidth, screenHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Always true, deliberately: nothing here can fail, and no caller reads it (the set-up and
    // the intro); a caller that starts to must not trust it.
    return true;
}

void Video::swapBuffers() {
    SDL_GL_SwapBuffers();
}

void Video::ditherFill(float level) {
    // Blending off: the fill is opaque whatever blend function a part left behind.
    glDisable(GL_BLEND);
    glEnable(GL_POLYGON_STIPPLE);
    glPolygonStipple(stippleMask(level * stippleSteps));
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(screenWidth, 0);
    glVertex2f(screenWidth, screenHeight);
    glVertex2f(0, screenHeight);
    glEnd();
    glDisable(GL_POLYGON_STIPPLE);
    glEnable(GL_BLEND);
}

bool Video::fadeOut(SoundSystem* sound) {
    glClearColor(0, 0, 0, 1);
    // Both buffers start from the last frame, so with nested masks the white only grows.
    glDisable(GL_BLEND);
    glReadBuffer(GL_FRONT);
    glDrawBuffer(GL_BACK);
    glCopyPixels(0, 0, screenWidth, screenHeight, GL_COLOR);
    glEnable(GL_BLEND);
    bool quitRequested = false;
    float level = 0;
    do {
        sound->setBackgroundVolume(static_cast<float>((1 - level) * SoundSystem::normalVolume));
        SDL_Event event;
        while (SDL_PollEvent(&event))
            quitRequested = quitRequested || event.type == SDL_QUIT;
        glColor4f(1, 1, 1, 1);
        ditherFill(level);
        SDL_GL_SwapBuffers();
        level = static_cast<float>(level + dissolveStep);
    } while (level <= 1.0f);
    return quitRequested;
}

void Video::drawBox(int x0, int y0, int x1, int y1) {
    // The fill is drawn unblended so it hides the tiles even under additive blending.
    glDisable(GL_BLEND);
    glColor4f(0, 0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x1, y0);
    glEnd();
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    glBegin(GL_LINE_LOOP);
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x1, y0);
    glEnd();
}
