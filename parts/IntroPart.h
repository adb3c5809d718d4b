// The opening: a dithered grey square, two triangles and the studio caption fade in and out
// on black while the background noise swells.
#pragma once
#include "app/EnginePart.h"

class IntroPart : public EnginePart {
  public:
    // Takes the scene counter and deliberately never reads it: the engine builds its parts alike.
    IntroPart(SubengineInterface* subsystems, int* sceneIndex);

    // Opts out of the engine's fade-in. The levels are not reset: the intro runs once.
    void setUp() override;
    // Space or Escape skips (1), a window close quits (-1), anything else is ignored.
    int handleEvent(SDL_Event* event) override;
    // Advances rise, then hold, then fade; returns 1 once all three are done.
    int update() override;
    // Draws the frame in normalised device coordinates and sets the noise volume. Leaves the
    // blend function at (one, one) for the rest of the run, polygon stippling off, 2D
    // texturing off, and the 640 x 480 pixel projection with an identity model-view.
    void draw() override;

    // The background noise volume for the current levels.
    double backgroundLevel() const;

    float introRise = 0; // first phase, 0 up to about 1.02
    float introHold = 0; // second phase, 0 up to about 1.52
    float introFade = 1; // third phase, 1 down to just below 0
    int* sceneIndex;
};
