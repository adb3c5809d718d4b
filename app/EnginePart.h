// Base of every screen the engine runs (intro, title, scenes) and its frame loop.
#pragma once
#include <SDL/SDL.h>

#include "app/SubengineInterface.h"

class EnginePart {
  public:
    explicit EnginePart(SubengineInterface* subsystems);

    // Called by Engine::run each time the part becomes current, after fadeFrames is set to 0.
    virtual void setUp() = 0;
    virtual ~EnginePart() {}
    // Called once per polled event outside the fade-in; non-zero ends the part with that result.
    virtual int handleEvent(SDL_Event* event) = 0;
    // Called once per frame after the events, outside the fade-in; non-zero ends the part.
    virtual int update() = 0;
    // Called every frame, fade-in included; draws the whole frame.
    virtual void draw() = 0;

    // Runs frames until the part hands back a non-zero result, and returns it.
    int loop();

    // Frames a part fades in from white over, while it hears no events and is not updated.
    static constexpr int fadeInLength = 40;

    int mouseX = 0;
    int mouseY = 0;
    // Recorded at every event though no part reads them, deliberately (the engine still hands
    // leftHeld on, and its test checks that): build nothing on them.
    bool leftHeld = false;
    bool rightPressed = false;
    int fadeFrames = 0;
    Video* video = nullptr;
    SoundSystem* sound = nullptr;
    Timer* timer = nullptr;

  private:
    int pollEvents();
    void paintFadeIn();
};
