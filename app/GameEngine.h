// The game's engine: loads the effects, builds intro, title and scene parts, and chains them.
#pragma once
#include "app/Engine.h"

class GameEngine : public Engine {
  public:
    GameEngine();
    int nextPart(int current, int result) override;

    // The scene the scene part plays: 0 to 5, and 6 once the last scene is over.
    int* sceneIndex = nullptr;
};
