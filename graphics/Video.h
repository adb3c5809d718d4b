// The window: SDL video set-up, the fixed OpenGL state, the fades between parts, the message box.
#pragma once
#include <SDL/SDL.h>

class FontSet;
class IconSheet;
class SoundSystem;

class Video {
  public:
    // Opens the 640 x 480 full-screen OpenGL window and loads the font and icon sheets.
    // Without a window there is no game: the failure is reported and the program ends with 1.
    Video();
    // Releases nothing: the window lives until SDL shuts down at exit.
    ~Video() {}

    // The fixed OpenGL state; runs once, and its texture-matrix flip stays for the whole run.
    void initGL();
    // Viewport (a height of 0 counts as 1) and the 640 x 480 pixel projection, y downwards.
    bool setProjection(int width, int height);
    void swapBuffers();
    // Covers the window with stipple mask trunc(level * 16) in the current colour, opaque.
    void ditherFill(float level);
    // Dissolves the last picture into white over 201 swaps while the background noise fades.
    // Returns true when a window close arrived meanwhile, so the caller can end the game.
    bool fadeOut(SoundSystem* sound);
    // A black rectangle with a white outline between two opposite corners.
    void drawBox(int x0, int y0, int x1, int y1);

    FontSet* font = nullptr;
    IconSheet* icons = nullptr;
    SDL_Surface* screen = nullptr;
};
