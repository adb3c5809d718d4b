// Which part follows which, and the start-up of the game's own resources.
#include "app/GameEngine.h"

#include "app/EnginePart.h"
#include "parts/IntroPart.h"
#include "parts/MainPart.h"
#include "parts/TitlePart.h"
#include "sound/SoundSystem.h"

namespace {
enum PartIndex { introIndex = 0, titleIndex = 1, mainIndex = 2 };
const int lastScene = 5;
} // namespace

GameEngine::GameEngine() {
    sceneIndex = new int(0);
    sound->loadSound("audio/blipn.wav");
    sound->loadSound("audio/bigblip.wav");
    sound->loadSound("audio/good.wav");
    sound->loadSound("audio/bad.wav");
    sound->startBackground();
    parts.push_back(new IntroPart(this, sceneIndex));
    parts.push_back(new TitlePart(this, sceneIndex));
    parts.push_back(new MainPart(this, sceneIndex));
}

int GameEngine::nextPart(int current, int result) {
    if (result < 0)
        return -1;
    switch (current) {
    case introIndex:
        return titleIndex;
    case titleIndex:
        return mainIndex;
    case mainIndex:
        if (result == 1)
            return *sceneIndex <= lastScene ? mainIndex : titleIndex;
        if (result == 3)
            return titleIndex;
        return -1;
    default:
        return -1;
    }
}
