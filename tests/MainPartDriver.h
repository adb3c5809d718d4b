// Plays the scene part the way the frame loop does: events through handleEvent, one update per
// frame, and strokes as mouse positions set frame by frame between a press and a release.
#pragma once
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "parts/MainPart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

// The part plays effects 2 and 3, and the sound system refuses effects it has not loaded:
// give it four short silences unless four effects are there already.
inline void loadSilentEffects(SoundSystem* sound) {
    const std::string path = testing::TempDir() + "wanderkin-silence.wav";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        // 64 samples of 8-bit mono silence at 22050 Hz.
        const unsigned char header[44] = {'R', 'I', 'F',  'F',  100, 0,   0,    0,    'W', 'A', 'V',
                                          'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,   1,   0,
                                          1,   0,   0x22, 0x56, 0,   0,   0x22, 0x56, 0,   0,   1,
                                          0,   8,   0,    'd',  'a', 't', 'a',  64,   0,   0,   0};
        std::fwrite(header, 1, sizeof header, f);
        for (int i = 0; i < 64; ++i)
            std::fputc(128, f);
        std::fclose(f);
    }
    while (sound->sounds.size() < 5)
        sound->loadSound(path);
}

// The rules need no window: without a display the part gets a sound system and no video.
inline SubengineInterface* rulesSubsystems() {
    static SubengineInterface* subsystems = nullptr;
    if (!subsystems) {
        if (displayAvailable()) {
            subsystems = testSubsystems();
        } else {
            setenv("SDL_AUDIODRIVER", "dummy", 0);
            subsystems = new SubengineInterface;
            subsystems->sound = new SoundSystem;
        }
        loadSilentEffects(subsystems->sound);
    }
    return subsystems;
}

struct MousePoint {
    int x;
    int y;
};

// Screen displacements of about 30 px that the recognizer codes as 0 right ... 7 up-right.
inline MousePoint codeStep(int code) {
    static const MousePoint steps[8] = {{30, 0},  {21, 21},   {0, 30},  {-21, 21},
                                        {-30, 0}, {-21, -21}, {0, -30}, {21, -21}};
    return steps[code];
}

// A stroke from (x, y) whose samples carry the given direction codes. The recognizer ignores a
// stroke's last code, so each shape ends with one code more than its template needs.
inline std::vector<MousePoint> strokeOf(const std::vector<int>& codes, int x = 320, int y = 240) {
    std::vector<MousePoint> points{{x, y}};
    for (int code : codes) {
        MousePoint d = codeStep(code);
        x += d.x;
        y += d.y;
        points.push_back({x, y});
    }
    return points;
}

// The stroke a player draws for each gesture id.
inline std::vector<MousePoint> gestureStroke(int id) {
    switch (id) {
    case 0:
        return strokeOf({6, 6, 6, 6, 6, 6}, 320, 400);
    case 1:
        return strokeOf({2, 2, 2, 2, 2, 2}, 320, 100);
    case 2:
        return strokeOf({4, 4, 4, 4, 4, 4}, 500, 240);
    case 3:
        return strokeOf({0, 0, 0, 0, 0, 0}, 100, 240);
    case 4:
        return strokeOf({2, 2, 3, 4, 5, 6, 6, 6}, 400, 150);
    case 5:
        return strokeOf({0, 0, 3, 3, 3, 0, 0, 0}, 200, 150);
    default:
        return strokeOf({1, 1, 0, 7, 7, 6, 5, 4, 3, 7, 0, 1, 1}, 150, 240);
    }
}

class SceneDriver {
  public:
    explicit SceneDriver(int scene) : counter(scene), part(rulesSubsystems(), &counter) {}

    // Each call hands back the part's result; the first non-zero one is kept in `ended`.
    int send(SDL_Event event) { return note(part.handleEvent(&event)); }
    int key(SDLKey sym) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = sym;
        return send(event);
    }
    int space() { return key(SDLK_SPACE); }
    // Arrow key for direction 0 up, 1 down, 2 left, 3 right.
    int arrow(int direction) {
        static const SDLKey keys[4] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
        return key(keys[direction]);
    }
    int button(Uint8 type, Uint8 which = SDL_BUTTON_LEFT) {
        SDL_Event event{};
        event.type = type;
        event.button.type = type;
        event.button.button = which;
        // The part must use its own mouse fields, not the event's position.
        event.button.x = 1;
        event.button.y = 1;
        return send(event);
    }
    int press() { return button(SDL_MOUSEBUTTONDOWN); }
    int release() { return button(SDL_MOUSEBUTTONUP); }
    int frame() { return note(part.update()); }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            frame();
    }
    void moveMouse(MousePoint p) {
        part.mouseX = p.x;
        part.mouseY = p.y;
    }
    // Press at the first point, one frame at each later point, then release.
    void stroke(const std::vector<MousePoint>& points) {
        moveMouse(points[0]);
        press();
        for (size_t i = 1; i < points.size(); ++i) {
            moveMouse(points[i]);
            frame();
        }
        release();
    }
    // Draws the gesture and waits for the player to stop blinking.
    void gesture(int id) {
        stroke(gestureStroke(id));
        frames(60);
    }
    // Points in a direction, then takes `count` steps that way.
    void walk(int direction, int count) {
        gesture(direction);
        for (int i = 0; i < count; ++i)
            arrow(direction);
    }
    void spaces(int count) {
        for (int i = 0; i < count; ++i)
            space();
    }
    bool textShowing() const { return part.lineShowing || part.remarkShowing; }
    int at(int row, int column) const { return part.grid[row][column]; }
    int count(int icon) const {
        int n = 0;
        for (const auto& row : part.grid)
            for (int cell : row)
                n += cell == icon;
        return n;
    }

    int counter;
    MainPart part;
    int ended = 0;

  private:
    int note(int result) {
        if (result != 0 && ended == 0)
            ended = result;
        return result;
    }
};
