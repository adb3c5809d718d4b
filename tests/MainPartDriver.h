// Plays the scene part the way the frame loop does: events through handleEvent, one update per
// frame, and strokes as mouse positions set frame by frame between a press and a release.
#pragma once
#include <SDL/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "parts/MainPart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

// The rules need no window: without a display the part gets a sound system and no video. It
// plays effects 2 and 3, and the sound system ends the program on an effect never loaded.
inline SubengineInterface* rulesSubsystems() {
    static SubengineInterface* subsystems = nullptr;
    if (!subsystems) {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        subsystems = displayAvailable() ? testSubsystems()
                                        : new SubengineInterface{nullptr, nullptr, new SoundSystem};
        for (const char* name : {"blipn", "bigblip", "good", "bad"})
            subsystems->sound->loadSound(sourcePath("audio/") + name + ".wav");
    }
    return subsystems;
}

// The strokes a player draws for each gesture id, as directions from '0' right to '7' up-right.
// The recognizer ignores a stroke's last direction, so each has one more than its shape needs.
const char* const gestureStrokes[7] = {"666666",   "222222",   "444444",       "000000",
                                       "22345666", "00333000", "1107765437011"};

class SceneDriver {
  public:
    explicit SceneDriver(int scene) : counter(scene), part(rulesSubsystems(), &counter) {}

    // Each call hands back the part's result; the first non-zero one is kept in `ended`.
    int send(SDL_Event event) { return note(part.handleEvent(&event)); }
    int key(SDLKey sym) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        return send(event);
    }
    int space() { return key(SDLK_SPACE); }
    int button(Uint8 type) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = event.button.y = 1; // the part must use its own mouse fields
        return send(event);
    }
    int press() { return button(SDL_MOUSEBUTTONDOWN); }
    int release() { return button(SDL_MOUSEBUTTONUP); }
    int frame() { return note(part.update()); }
    void moveMouse(int x, int y) { part.mouseX = x, part.mouseY = y; }
    // Press, then a frame at each sample some 30 px on in the given directions, then release.
    void stroke(const std::string& directions) {
        static const int steps[8][2] = {{30, 0},  {21, 21},   {0, 30},  {-21, 21},
                                        {-30, 0}, {-21, -21}, {0, -30}, {21, -21}};
        moveMouse(320, 240);
        press();
        for (char d : directions) {
            moveMouse(part.mouseX + steps[d - '0'][0], part.mouseY + steps[d - '0'][1]);
            frame();
        }
        release();
    }
    // Plays a move list: '.' Space, ^ v < > arrow keys, U D L R point that way and C the U-shape
    // (each waiting out the 60-frame blink), Z and P the sale and proposition strokes, f one
    // frame. A number repeats the move after it.
    void run(const std::string& moves) {
        static const std::string arrows = "^v<>", shapes = "UDLRCZP";
        static const SDLKey keys[4] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
        int times = 0;
        for (char m : moves) {
            if (m >= '0' && m <= '9') {
                times = times * 10 + (m - '0');
                continue;
            }
            for (int i = 0; i < std::max(times, 1); ++i) {
                if (m == '.')
                    space();
                else if (m == 'f')
                    frame();
                else if (arrows.find(m) != std::string::npos)
                    key(keys[arrows.find(m)]);
                else
                    stroke(gestureStrokes[shapes.find(m)]);
                if (shapes.find(m) < 5)
                    run("60f");
            }
            times = 0;
        }
    }
    // Plays the moves and hands back the text then showing, or "" when none shows.
    std::string says(const std::string& moves) {
        run(moves);
        return textShowing() ? part.shownText : "";
    }
    bool textShowing() const { return part.lineShowing || part.remarkShowing; }
    int count(int icon) const { return std::count(&part.grid[0][0], &part.grid[7][10], icon); }
    int note(int result) { return (ended = ended ? ended : result), result; }

    int counter;
    MainPart part;
    int ended = 0;
};
