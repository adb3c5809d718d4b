// The seven gestures the game knows: their ids, and their templates as direction-code strings.
#pragma once

// Gesture ids. The four pointing gestures share their numbers with the directions of a move.
enum Gesture {
    noGesture = -1, // a stroke that matches no template
    pointUp = 0,
    pointDown = 1,
    pointLeft = 2,
    pointRight = 3,
    uShape = 4,      // ends a conversation
    zShape = 5,      // sells to a house
    proposition = 6, // made to a person
    gestureCount = 7
};

struct GestureTemplate {
    int id;
    const char* codes; // direction codes: 0 right, clockwise on screen to 7 up-right
};

// In id order. The legend icon of gesture k is Icon::firstLegend + k.
extern const GestureTemplate gestureTemplates[gestureCount];
