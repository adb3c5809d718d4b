// The title screen: menu keys, the scene reset on "begin", and the trembling title word.
#include "parts/TitlePart.h"

#include <GL/gl.h>

#include <cstdlib>

#include "app/PartResult.h"
#include "graphics/FontSet.h"
#include "graphics/SheetGeometry.h"
#include "graphics/Video.h"
#include "sound/Effects.h"
#include "sound/SoundSystem.h"

namespace {
const char titleWord[] = "wanderkin";
const int titleLength = sizeof titleWord - 1;
// Where the word rests. The menu stands below it, flush with its first letter.
const int wordX = 253, wordY = 176;
const int beginY = 258, quitY = 299;
// How far the front piece may stand left of and above its resting place.
const int trembleReach = 1;
// The grey of the highlighted menu item and of the other one.
const float highlighted = 1.0f;
const float dimmed = 0.5f;
} // namespace

TitlePart::TitlePart(SubengineInterface* subsystems, int* sceneIndex)
    : EnginePart(subsystems), sceneIndex(sceneIndex) {}

void TitlePart::setUp() {
    selection = beginItem;
}

int TitlePart::handleEvent(SDL_Event* event) {
    // A closed window must always end the game, here as in the other parts.
    if (event->type == SDL_QUIT)
        return PartResult::quit;
    if (event->type != SDL_KEYDOWN)
        return PartResult::goOn;
    switch (event->key.keysym.sym) {
    case SDLK_SPACE:
        if (selection == quitItem)
            return PartResult::quit;
        *sceneIndex = 0; // every game starts at the first scene
        sound->playSound(beginEffect);
        return PartResult::next;
    case SDLK_ESCAPE:
        return PartResult::quit;
    case SDLK_UP:
    case SDLK_DOWN:
        // Two items: either arrow simply moves to the other one.
        selection = selection == beginItem ? quitItem : beginItem;
        sound->playSound(selectionEffect);
        return PartResult::goOn;
    default:
        return PartResult::goOn;
    }
}

int TitlePart::update() {
    return PartResult::goOn;
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
    pieces.frontX = wordX - trembleReach + tremble.dx;
    pieces.frontY = wordY - trembleReach + tremble.dy;
    pieces.front.assign(titleWord, tremble.k + 1);
    // The rest stands still, one glyph on from the front's last letter at rest.
    pieces.restX = wordX + bigGlyphSize * (tremble.k + 1);
    pieces.restY = wordY;
    pieces.rest.assign(titleWord + tremble.k + 1);
    return pieces;
}

void TitlePart::draw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);

    float beginGrey = selection == beginItem ? highlighted : dimmed;
    float quitGrey = selection == beginItem ? dimmed : highlighted;
    glColor3f(beginGrey, beginGrey, beginGrey);
    video->font->drawText(wordX, beginY, "begin", 0);
    glColor3f(quitGrey, quitGrey, quitGrey);
    video->font->drawText(wordX, quitY, "quit", 0);

    glColor3f(1, 1, 1);
    // Drawn from rand() while drawing, deliberately: the word trembles anew in every frame on
    // screen, the fade-in's included. Nothing may expect draw() to leave rand() alone.
    WordPieces pieces = wordPieces(nextTremble());
    video->font->drawText(pieces.frontX, pieces.frontY, pieces.front.c_str(), 0);
    video->font->drawText(pieces.restX, pieces.restY, pieces.rest.c_str(), 0);
}
