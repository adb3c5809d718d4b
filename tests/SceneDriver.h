// Plays the scene part as the frame loop would, without a window: events through handleEvent,
// one update a frame, strokes as mouse positions given frame by frame.
#pragma once
#include <SDL/SDL.h>

#include <string>

#include "parts/MainPart.h"

class SceneDriver {
  public:
    // Lays out `scene` with the sound object of soundOnly().
    explicit SceneDriver(int scene);

    int send(Uint8 type, SDLKey sym = SDLK_UNKNOWN);
    int key(SDLKey sym) { return send(SDL_KEYDOWN, sym); }
    void press() { send(SDL_MOUSEBUTTONDOWN); }
    void release() { send(SDL_MOUSEBUTTONUP); }
    int frame();
    // Press, one frame at each 30-pixel sample in the given directions, release; any other
    // character is a move of run() made at that point of the stroke.
    void stroke(const std::string& codes);
    // The moves of ScenePaths.h, and 'f' for a frame. A pointing gesture or the U-shape is
    // followed by the 60 frames of its blink.
    void run(const std::string& moves);
    // The moves with each number spelt out: "3.f" is "...f".
    static std::string expand(const std::string& moves);
    // Runs the moves and gives the text then on show, or "" for none.
    std::string says(const std::string& moves);
    int count(int icon) const;

    int counter;        // the scene index the part shares
    bool ended = false; // whether the part has asked to end since the last check
    MainPart part;
};
