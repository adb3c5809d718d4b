// Stand-in title: a black screen; Space begins, Escape or a window close quits.
#include "parts/TitlePart.h"

#include <GL/gl.h>

TitlePart::TitlePart(SubengineInterface* subsystems, int* sceneIndex)
    : EnginePart(subsystems), sceneIndex(sceneIndex) {}

void TitlePart::setUp() {}

int TitlePart::handleEvent(SDL_Event* event) {
    if (event->type == SDL_QUIT)
        return -1;
    if (event->type != SDL_KEYDOWN)
        return 0;
    if (event->key.keysym.sym == SDLK_ESCAPE)
        return -1;
    if (event->key.keysym.sym == SDLK_SPACE) {
        *sceneIndex = 0;
        return 1;
    }
    return 0;
}

int TitlePart::update() { return 0; }

void TitlePart::draw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}
