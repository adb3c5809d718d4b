// The seven gestures the game knows, as direction-code strings, with their ids.
#pragma once

struct GestureTemplate {
    int id;
    const char* codes;
};

// In id order: 0 up, 1 down, 2 left, 3 right, 4 the U-shape, 5 the Z-shape, 6 the proposition.
// The legend icon of gesture id k is 33 + k.
extern const GestureTemplate gestureTemplates[7];
