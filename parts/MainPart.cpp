// Stand-in scene part: a black screen; Escape goes back to the title, a window close quits.
#include "parts/MainPart.h"

#include <GL/gl.h>

MainPart::MainPart(SubengineInterface* subsystems, int* sceneIndex)
    : EnginePart(subsystems), sceneIndex(sceneIndex), recognizer(new GestureRecognizer) {}

MainPart::~MainPart() { delete recognizer; }

void MainPart::setUp() {}

int MainPart::handleEvent(SDL_Event* event) {
    if (event->type == SDL_QUIT)
        return -1;
    if (event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_ESCAPE)
        return 3;
    return 0;
}

int MainPart::update() { return 0; }

void MainPart::draw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

bool MainPart::gridContains(int) const { return false; }
void MainPart::findPlayer() {}
int MainPart::neighbour(int) { return -1; }
bool MainPart::isNextTo(int) { return false; }
void MainPart::registerTemplates() {}
void MainPart::replaceNeighbour(int, int) {}
void MainPart::step(int) {}
void MainPart::tryMove(int) {}
