// Which part follows which, and the start-up of the game's own resources.
#include "app/GameEngine.h"

#include "app/EnginePart.h"
#include "app/PartResult.h"
#include "parts/IntroPart.h"
#include "parts/MainPart.h"
#include "parts/TitlePart.h"
#include "sound/Effects.h"
#include "sound/SoundSystem.h"

namespace {
// The part table, in the order the parts are built; a negative index ends the part loop.
enum PartIndex { endOfGame = -1, introIndex = 0, titleIndex = 1, mainIndex = 2 };
const int lastScene = 5;
} // namespace

GameEngine::GameEngine() {
    sceneIndex = new int(0);
    for (const char* file : effectFiles)
        sound->loadSound(file);
    sound->startBackground();
    parts.push_back(new IntroPart(this, sceneIndex));
    parts.push_back(new TitlePart(this, sceneIndex));
    parts.push_back(new MainPart(this, sceneIndex));
}

int GameEngine::nextPart(int current, int result) {
    if (result < 0)
        return endOfGame;
    switch (current) {
    case introIndex:
        return titleIndex;
    case titleIndex:
        return mainIndex;
    case mainIndex:
        if (result == PartResult::next)
            return *sceneIndex <= lastScene ? mainIndex : titleIndex;
        if (result == PartResult::backToTitle)
            return titleIndex;
        return endOfGame;
    default:
        return endOfGame;
    }
}
