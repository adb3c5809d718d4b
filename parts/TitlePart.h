// The title screen: the trembling word "wanderkin" over the menu "begin" / "quit".
#pragma once
#include <string>

#include "app/EnginePart.h"

class TitlePart : public EnginePart {
  public:
    // One frame's tremble of the title word: its first k + 1 letters (k below the word's
    // length) stand 1 - dx pixels left and 1 - dy pixels up of their resting place (dx, dy = 0
    // or 1).
    struct Tremble {
        int k;
        int dy;
        int dx;
    };
    // The two pieces the title word is drawn as in one frame.
    struct WordPieces {
        int frontX, frontY;
        std::string front;
        int restX, restY;
        std::string rest;
    };

    // sceneIndex is the engine's shared scene number; "begin" sets it back to 0.
    TitlePart(SubengineInterface* subsystems, int* sceneIndex);

    // Opens the menu on "begin"; the engine's fade-in runs as usual.
    void setUp() override;
    // Up/Down toggle, Space confirms, Escape or a window close quits.
    int handleEvent(SDL_Event* event) override;
    int update() override;
    // Clears to black and draws the menu and the word; leaves 2D texturing off.
    void draw() override;

    // Draws a new tremble from rand(), called in the order k, dy, dx.
    static Tremble nextTremble();
    // Where the two pieces of the word go for a given tremble.
    static WordPieces wordPieces(const Tremble& tremble);

    // The menu's two items, as `selection` holds them.
    enum MenuItem { beginItem = 0, quitItem = 1 };
    int selection = beginItem; // the highlighted item
    int* sceneIndex;
};
