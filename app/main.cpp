// Entry point: seeds the title's tremble, runs the engine once, and shuts SDL down at exit.
#include <SDL/SDL.h>

#include <cstdlib>
#include <ctime>

#include "app/GameEngine.h"

int main(int, char*[]) {
    // There is no SDL start-up code on this platform to do it for us.
    std::atexit(SDL_Quit);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    GameEngine* engine = new GameEngine;
    engine->run();
    delete engine;
    return 0;
}
