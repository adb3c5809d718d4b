// Stand-in intro: a black screen that Space or Escape skips.
#include "parts/IntroPart.h"

#include <GL/gl.h>

IntroPart::IntroPart(SubengineInterface* subsystems, int* sceneIndex)
    : EnginePart(subsystems), sceneIndex(sceneIndex) {}

void IntroPart::setUp() { fadeFrames = -1; }

int IntroPart::handleEvent(SDL_Event* event) {
    if (event->type == SDL_QUIT)
        return -1;
    if (event->type == SDL_KEYDOWN &&
        (event->key.keysym.sym == SDLK_ESCAPE || event->key.keysym.sym == SDLK_SPACE))
        return 1;
    return 0;
}

int IntroPart::update() { return 0; }

void IntroPart::draw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}
