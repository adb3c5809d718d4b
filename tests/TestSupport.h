// Shared test helpers, built once into the test-support library: pictures, what the data files
// say a picture must show, which effects are sounding, and (for the window tests, which need an
// X display) the game's own subsystems in the test process and the frames they draw.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <SDL/SDL.h>

#include "app/SubengineInterface.h"

class GameEngine;

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

// Path of a file in the source tree.
std::string sourcePath(const std::string& relative);
// Pixel (u, v) of icon n as the player must see it, from textures/icons.bmp.
Rgb iconPixel(int n, int u, int v);
// Whether pixel (u, v) of the 8 x 8 glyph of character c has ink, by assets/font/glyphs.txt.
bool glyphInk(char c, int u, int v);
// Whether the picture shows `text` at (x, y) in the big font, inverted for set 1, in `ink`
// over black.
::testing::AssertionResult showsText(const Picture& picture, int x, int y, const std::string& text,
                                     int set = 0, Rgb ink = white);
// A key event (or another of the given type, SDL_QUIT for one), kept until the next call.
SDL_Event* keyEvent(SDLKey key, Uint8 type = SDL_KEYDOWN);
// A sound object with the game's effects loaded, and no window.
SubengineInterface* soundOnly();
// The names ("blipn", "bigblip", "good", "bad") of the audio files sounding after `action`, in
// the order of the mixer's channels. Pauses the output for good.
std::string heard(const std::function<void()>& action);

// Window tests only (they fail with a message when there is no X display to open):
// the game's engine for this test process, built as the game builds it.
GameEngine* testEngine();
// The frame drawn so far in this process's window.
Picture readWindow();
// Every buffer swap of this process, the game's own included: how many, and a hook after each.
extern int swapsSeen;
extern std::function<void()> afterSwap;
