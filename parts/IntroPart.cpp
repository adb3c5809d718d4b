// The opening sequence: three levels stepped once per frame drive the whole picture.
#include "parts/IntroPart.h"

#include <GL/gl.h>

#include <algorithm>

#include "graphics/FontSet.h"
#include "graphics/StipplePatterns.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"

namespace {
// Steps are doubles; each sum is rounded to float when stored, which fixes the phase lengths
// at 51, 76 and 25 frames.
const double riseStep = 0.02;
const double holdStep = 0.02;
const double fadeStep = 0.04;
const float riseEnd = 1.0f;
const float holdEnd = 1.5f;
} // namespace

IntroPart::IntroPart(SubengineInterface* subsystems, int* sceneIndex)
    : EnginePart(subsystems), sceneIndex(sceneIndex) {}

void IntroPart::setUp() {
    fadeFrames = -1;
}

int IntroPart::handleEvent(SDL_Event* event) {
    if (event->type == SDL_QUIT)
        return -1;
    if (event->type == SDL_KEYDOWN &&
        (event->key.keysym.sym == SDLK_ESCAPE || event->key.keysym.sym == SDLK_SPACE))
        return 1;
    return 0;
}

int IntroPart::update() {
    if (introRise < riseEnd) {
        introRise = static_cast<float>(introRise + riseStep);
        return 0;
    }
    if (introHold < holdEnd) {
        introHold = static_cast<float>(introHold + holdStep);
        return 0;
    }
    if (introFade > 0) {
        introFade = static_cast<float>(introFade - fadeStep);
        return 0;
    }
    return 1;
}

double IntroPart::backgroundLevel() const {
    return std::max(introRise / 20.0, 0.1 * std::min(introHold / 1.5, 1.0));
}

void IntroPart::draw() {
    glClear(GL_COLOR_BUFFER_BIT);
    // Plain shapes: no texture may modulate them (the sheets' last texture is still bound).
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND); // the caption is blended onto the shapes
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_POLYGON_STIPPLE);

    // The square, dithered up to five sixteenths.
    double m = std::min(introRise, introFade);
    glPolygonStipple(stippleMask(16 * m / 3));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4d(m / 3, m / 3, m / 3, 1);
    glBegin(GL_QUADS);
    glVertex2d(-0.5, 0.5);
    glVertex2d(0.5, 0.5);
    glVertex2d(0.5, -0.5);
    glVertex2d(-0.5, -0.5);
    glEnd();

    // The two triangles; the first rises with introRise, from below the screen.
    m = std::min(introHold, introFade);
    glPolygonStipple(stippleMask(8 * m));
    glColor4d(m / 2, m / 2, m / 2, 1);
    double h = 1.55 * introRise;
    glBegin(GL_TRIANGLES);
    glVertex2d(-0.4, h - 2.0);
    glVertex2d(0.4, h - 2.0);
    glVertex2d(0, h - 1.1);
    glVertex2d(0.05, 0.475);
    glVertex2d(0.85, 0.475);
    glVertex2d(0.45, -0.425);
    glEnd();

    sound->setBackgroundVolume(static_cast<float>(backgroundLevel()));

    // The caption is added onto what lies under it. The blend function stays (one, one)
    // afterwards: the title and the scenes draw with it.
    glPolygonStipple(stippleMask(16 * m));
    glColor4d(m, m, m, 1);
    glBlendFunc(GL_ONE, GL_ONE);
    video->font->drawText(200, 230, "quorlaven presents", 0);

    glDisable(GL_POLYGON_STIPPLE);
    video->setProjection(640, 480);
}
