// Entry point: starts the random numbers behind the title's tremble, runs the engine once,
// and shuts SDL down.
#include <SDL/SDL.h>

#include <csignal>
#include <cstdlib>
#include <ctime>

#include "app/GameEngine.h"
#include "graphics/Video.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {
// The close requests a desktop or a terminal sends (SIGTERM, SIGINT). SDL turns them into a
// window-close event, but only once its video is up; one that came before would end the
// process on the spot. Holding them back until then delivers them to SDL instead.
sigset_t closeRequests() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    return signals;
}
} // namespace

int main(int, char*[]) {
    // The window's class, by which desktops match it to the menu entry (its StartupWMClass)
    // for the name and icon in task lists; SDL takes it from here (on Wayland too, as the app
    // id). The program sets no caption. A class set by the player is kept.
    setenv("SDL_VIDEO_X11_WMCLASS", WANDERKIN_APP_ID, 0);
    const sigset_t held = closeRequests();
    sigprocmask(SIG_BLOCK, &held, nullptr);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    GameEngine* engine = new GameEngine;
    sigprocmask(SIG_UNBLOCK, &held, nullptr);
#ifdef __SANITIZE_ADDRESS__
    // The parts, the scene index, the font set and the icon sheet live until the process ends
    // (the engine deletes only its subsystems): the leak checker of a sanitized build is told so.
    for (const void* kept : {static_cast<const void*>(engine->sceneIndex),
                             static_cast<const void*>(engine->video->font),
                             static_cast<const void*>(engine->video->icons)})
        __lsan_ignore_object(kept);
    for (const EnginePart* part : engine->parts)
        __lsan_ignore_object(part);
#endif
    engine->run();
    delete engine;
    // There is no SDL start-up code on this platform to do it for us. Quit here rather than
    // at exit, while the GL driver's own libraries are still intact.
    SDL_Quit();
    return 0;
}
