// Entry point: starts the random numbers behind the title's tremble, runs the engine once,
// and shuts SDL down.
#include <SDL/SDL.h>

#include <cstdlib>
#include <ctime>

#include "app/GameEngine.h"

int main(int, char*[]) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    GameEngine* engine = new GameEngine;
    engine->run();
    delete engine;
    // There is no SDL start-up code on this platform to do it for us. Quit here rather than
    // at exit, while the GL driver's own libraries are still intact.
    SDL_Quit();
    return 0;
}
