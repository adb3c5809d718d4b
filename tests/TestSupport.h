// Test helpers, built once into the library both test programs link: pictures, what the data
// files say a picture must show, the effects sounding, and the game's engine in the process.
#pragma once
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/SubengineInterface.h"

class GameEngine;

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
constexpr Rgb black{0, 0, 0}, white{255, 255, 255};

struct Picture { // row 0 at the top
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int count(Rgb colour) const;
    bool operator==(const Picture& o) const { return pixels == o.pixels; }
};

std::string sourcePath(const std::string& relative);
// Pixel (u, v) of icon n as the player must see it, from textures/icons.bmp.
Rgb iconPixel(int n, int u, int v);
// Whether pixel (u, v) of the 8 x 8 glyph of character c has ink, by assets/font/glyphs.txt.
bool glyphInk(char c, int u, int v);
// Whether the picture shows `text` at (x, y) in the big font, inverted for set 1, in `ink`.
::testing::AssertionResult showsText(const Picture& picture, int x, int y, const std::string& text,
                                     int set = 0, Rgb ink = white);
// A key event (or another type: SDL_QUIT), kept until the next call.
SDL_Event* keyEvent(SDLKey key, Uint8 type = SDL_KEYDOWN);
// A sound object with the game's effects loaded, and no window.
SubengineInterface* soundOnly();
// The names ("blipn", "bigblip", "good", "bad") of the audio files sounding after `action`, in
// the order of the mixer's channels. Pauses the output for good.
std::string heard(const std::function<void()>& action);

// Window tests only: the engine built as the game builds it, the frame drawn so far, and every
// buffer swap of the process counted, with a hook after each.
GameEngine* testEngine();
Picture readWindow();
extern int swapsSeen;
extern std::function<void()> afterSwap;
