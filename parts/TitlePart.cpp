// The title screen: menu keys, the scene reset on "begin", and the trembling title word.
#include "parts/TitlePart.h"

#include <GL/gl.h>

#include <cstdlib>

#include "graphics/FontSet.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"

namespace {
const char titleWord[] = "wanderkin";
const int titleLength = 9;
const int glyphAdvance = 16;
const int beginX = 253, beginY = 258;
const int quitX = 253, quitY = 299;
// The front piece trembles around (253, 176) by drawing at (252 + dx, 175 + dy).
const int frontX = 252, frontY = 175;
const int restX = 269, restY = 176;
const int blipEffect = 0;    // audio/blipn.wav
const int bigBlipEffect = 1; // audio/bigblip.wav
} // namespace

TitlePart::TitlePart(SubengineInterface* subsystems, int* sceneIndex)
    : EnginePart(subsystems), sceneIndex(sceneIndex) {}

void TitlePart::setUp() {
    selection = 0;
}

int TitlePart::handleEvent(SDL_Event* event) {
    // A closed window must always end the game, here as in the other parts.
    if (event->type == SDL_QUIT)
        return -1;
    if (event->type != SDL_KEYDOWN)
        return 0;
    switch (event->key.keysym.sym) {
    case SDLK_SPACE:
        if (selection == 1)
            return -1;
        *sceneIndex = 0; // every game starts at the first scene
        sound->playSound(bigBlipEffect);
        return 1;
    case SDLK_ESCAPE:
        return -1;
    case SDLK_UP:
    case SDLK_DOWN:
        // Two items: either arrow simply moves to the other one.
        selection = (selection + 1) % 2;
        sound->playSound(blipEffect);
        return 0;
    default:
        return 0;
    }
}

int TitlePart::update() {
    return 0;
}

TitlePart::Tremble TitlePart::nextTremble() {
    Tremble tremble;
    tremble.k = std::rand() % titleLength;
    tremble.dy = std::rand() % 2;
    tremble.dx = std::rand() % 2;
    return tremble;
}

TitlePart::WordPieces TitlePart::wordPieces(const Tremble& tremble) {
    WordPieces pieces;
    pieces.frontX = frontX + tremble.dx;
    pieces.frontY = frontY + tremble.dy;
    pieces.front.assign(titleWord, tremble.k + 1);
    pieces.restX = restX + glyphAdvance * tremble.k;
    pieces.restY = restY;
    pieces.rest.assign(titleWord + tremble.k + 1);
    return pieces;
}

void TitlePart::draw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);

    float beginGrey = selection == 0 ? 1.0f : 0.5f;
    float quitGrey = selection == 0 ? 0.5f : 1.0f;
    glColor3f(beginGrey, beginGrey, beginGrey);
    video->font->drawText(beginX, beginY, "begin", 0);
    glColor3f(quitGrey, quitGrey, quitGrey);
    video->font->drawText(quitX, quitY, "quit", 0);

    glColor3f(1, 1, 1);
    WordPieces pieces = wordPieces(nextTremble());
    video->font->drawText(pieces.frontX, pieces.frontY, pieces.front.c_str(), 0);
    video->font->drawText(pieces.restX, pieces.restY, pieces.rest.c_str(), 0);
}
