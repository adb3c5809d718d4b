// Plays the scene part as the frame loop would, without a window.
#include "tests/SceneDriver.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/PartResult.h"
#include "tests/ScenePaths.h"
#include "tests/TestSupport.h"

SceneDriver::SceneDriver(int scene) : counter(scene), part(soundOnly(), &counter) {}

int SceneDriver::send(Uint8 type, SDLKey sym) {
    SDL_Event e{}; // keys read the sym, buttons the button; positions come from the part
    e.type = type;
    e.key.keysym.sym = sym;
    e.button.button = SDL_BUTTON_LEFT;
    const int result = part.handleEvent(&e);
    ended = ended || result == PartResult::next;
    return result;
}

int SceneDriver::frame() {
    const int result = part.update();
    ended = ended || result == PartResult::next;
    return result;
}

void SceneDriver::stroke(const std::string& codes) {
    // A direction's dy is the dx of the direction a quarter turn back.
    static const int dx[8] = {30, 21, 0, -21, -30, -21, 0, 21};
    press();
    for (char d : codes)
        if (d < '0' || d > '7') {
            run(std::string(1, d));
        } else {
            part.mouseX += dx[d - '0'], part.mouseY += dx[(d - '0' + 6) % 8];
            frame();
        }
    release();
}

void SceneDriver::run(const std::string& moves) {
    static const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
    for (char m : expand(moves))
        if (const char* k = std::strchr(moveKeys, m); m == 'f' || k) {
            m == 'f' ? frame() : key(keys[k - moveKeys]);
        } else {
            const int g = std::strchr(gestureMoves, m) - gestureMoves;
            stroke(gestureStrokes[g]);
            if (g <= uShape)
                run("60f");
        }
}

std::string SceneDriver::expand(const std::string& moves) {
    std::string spelt;
    for (size_t i = 0, digits = 0; i < moves.size(); ++i, digits = 0) {
        const int times = std::isdigit(moves[i]) ? std::stoi(moves.substr(i), &digits) : 1;
        spelt.append(times, moves[i += digits]);
    }
    return spelt;
}

std::string SceneDriver::says(const std::string& moves) {
    run(moves);
    return part.lineShowing || part.remarkShowing ? part.shownText : "";
}

int SceneDriver::count(int icon) const {
    return static_cast<int>(std::count(&part.grid[0][0], &part.grid[0][0] + 80, icon));
}
