// Shared test helpers: the game's own subsystems in this process, pictures read back from the
// window, what the data files say a picture must show, and which effects are sounding.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <SDL/SDL.h>

#include "app/SubengineInterface.h"
#include "graphics/Screen.h"

class GameEngine;

// The game's engine for this test process, built as the game builds it: window, sound with its
// effects loaded, the three parts. Needs an X display with GLX (the test command provides one).
GameEngine* testEngine();
// A sound object with the game's effects loaded, and no window.
SubengineInterface* soundOnly();

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
constexpr Rgb black{0, 0, 0}, white{255, 255, 255};

// A picture, row 0 at the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int count(Rgb colour) const;
    bool operator==(const Picture& o) const { return pixels == o.pixels; }
};

// Picture pixels from (x0, y0) up to, not including, (x1, y1).
struct Rect {
    int x0, y0, x1, y1;
};

// A key event (or another of the given type, SDL_QUIT for one), kept until the next call.
SDL_Event* keyEvent(SDLKey key, Uint8 type = SDL_KEYDOWN);

// The frame drawn so far in this process's window.
Picture readWindow();
// Pixel (u, v) of icon n as the player must see it, from textures/icons.bmp.
Rgb iconPixel(int n, int u, int v);
// Whether pixel (u, v) of the 8 x 8 glyph of character c has ink, by assets/font/glyphs.txt.
bool glyphInk(char c, int u, int v);
// Whether the picture shows `text` at (x, y) in the big font (twice the glyphs' size), inverted
// for set 1, in `ink` over black.
::testing::AssertionResult showsText(const Picture& picture, int x, int y, const std::string& text,
                                     int set = 0, Rgb ink = white);

// The names ("blipn", "bigblip", "good", "bad") of the audio files sounding after `action`, in
// the order of the mixer's channels. Pauses the output for good.
std::string heard(const std::function<void()>& action);

// The screen tests see every buffer swap of this process, the game's own included: how many
// there were, and a hook called after each.
extern int swapsSeen;
extern std::function<void()> afterSwap;

// Path of a file in the source tree.
std::string sourcePath(const std::string& relative);
