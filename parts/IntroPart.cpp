// The opening sequence: three levels stepped once per frame drive the whole picture.
#include "parts/IntroPart.h"

#include <GL/gl.h>

#include <algorithm>

#include "app/PartResult.h"
#include "graphics/FontSet.h"
#include "graphics/Screen.h"
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
    // Deliberate: loop() then skips the fade-in, so the picture, the noise and the keys that skip
    // the intro are live from its first frame (its skip test relies on that).
    fadeFrames = -1;
}

int IntroPart::handleEvent(SDL_Event* event) {
    if (event->type == SDL_QUIT)
        return PartResult::quit;
    if (event->type == SDL_KEYDOWN &&
        (event->key.keysym.sym == SDLK_ESCAPE || event->key.keysym.sym == SDLK_SPACE))
        return PartResult::next;
    return PartResult::goOn;
}

int IntroPart::update() {
    if (introRise < riseEnd) {
        introRise = static_cast<float>(introRise + riseStep);
        return PartResult::goOn;
    }
    if (introHold < holdEnd) {
        introHold = static_cast<float>(introHold + holdStep);
        return PartResult::goOn;
    }
    if (introFade > 0) {
        introFade = static_cast<float>(introFade - fadeStep);
        return PartResult::goOn;
    }
    return PartResult::next;
}

double IntroPart::backgroundLevel() const {
    // Up from silence with the square, then on to the normal level with the triangles.
    return std::max(introRise / 20.0, SoundSystem::normalVolume *
                                          std::min(introHold / static_cast<double>(holdEnd), 1.0));
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
    glPolygonStipple(stippleMask(stippleSteps * m / 3));
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
    glPolygonStipple(stippleMask(stippleSteps / 2 * m));
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

    // Set while drawing, deliberately: the noise keeps pace with the picture on screen, and with
    // no fade-in nothing else sets it. Build nothing else on draw() touching the sound.
    sound->setBackgroundVolume(static_cast<float>(backgroundLevel()));

    // The caption is added onto what lies under it. The blend function stays (one, one)
    // afterwards: the title and the scenes draw with it.
    glPolygonStipple(stippleMask(stippleSteps * m));
    glColor4d(m, m, m, 1);
    glBlendFunc(GL_ONE, GL_ONE);
    video->font->drawText(200, 230, "quorlaven presents", 0);

    glDisable(GL_POLYGON_STIPPLE);
    video->setProjection(screenWidth, screenHeight);
}
