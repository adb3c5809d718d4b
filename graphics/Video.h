// The window: SDL video set-up, the fixed OpenGL state, the fades between parts, the message box.
#pragma once
#include <SDL/SDL.h>

class FontSet;
class IconSheet;
class SoundSystem;

// Created once by the engine, after the sound; every part draws through it.
class Video {
  public:
    // Opens the full-screen OpenGL window (graphics/Screen.h) and loads the font and icon sheets.
    // Without a window there is no game: the failure is reported and the program ends with 1.
    Video();
    // Deletes nothing: the font and the icons live until the process ends, and main closes the
    // window with SDL_Quit.
    ~Video() {}

    // The fixed OpenGL state, set by the constructor. Its texture-matrix flip stays for the
    // whole run: every glyph and icon lookup is written against it.
    void initGL();
    // The viewport (a height of 0 counts as 1) and the window's pixel projection, y downwards.
    // The intro calls it to come back from its own coordinates.
    bool setProjection(int width, int height);
    // Shows the frame just drawn; the frame loop calls it once a frame.
    void swapBuffers();
    // Covers the window with the stipple mask for `level` (0 nothing, 1 everything) in the
    // current colour, opaque whatever blend function a part left: the fades' white.
    void ditherFill(float level);
    // Called by the engine after every part: dissolves the last picture into white while the
    // background noise fades. Events are polled meanwhile, so that a window close is not lost:
    // returns true when one arrived, so the caller can end the game.
    bool fadeOut(SoundSystem* sound);
    // The message box: a black rectangle with a white outline between two opposite corners, in
    // the pixel projection.
    void drawBox(int x0, int y0, int x1, int y1);

    FontSet* font = nullptr;       // created by the constructor; the parts draw text with it
    IconSheet* icons = nullptr;    // created by the constructor; the parts draw icons with it
    SDL_Surface* screen = nullptr; // the window's surface, owned by SDL
};
