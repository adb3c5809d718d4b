// Stand-in for the MainPart: clears the screen until the real part lands.
#pragma once
#include "app/EnginePart.h"

class MainPart : public EnginePart {
public:
    MainPart(SubengineInterface* subsystems, int* sceneIndex);
    void setUp() override;
    int handleEvent(SDL_Event* event) override;
    int update() override;
    void draw() override;

    int* sceneIndex;
};
