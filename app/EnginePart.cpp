// The frame loop shared by all parts: events, update, draw, fade-in, swap, pacing.
#include "app/EnginePart.h"

#include <GL/gl.h>

#include "app/PartResult.h"
#include "app/Timer.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"

EnginePart::EnginePart(SubengineInterface* subsystems)
    : video(subsystems->video), sound(subsystems->sound), timer(subsystems->timer) {}

int EnginePart::loop() {
    // A part that left fadeFrames non-zero in setUp opts out of the fade-in (the intro does).
    fadeFrames = (fadeFrames == 0) ? fadeInLength : 0;
    for (;;) {
        timer->start();
        int result = pollEvents();
        if (result != PartResult::goOn)
            return result;
        if (fadeFrames == 0) {
            result = update();
            if (result != PartResult::goOn)
                return result;
        }
        draw();
        if (fadeFrames > 0)
            paintFadeIn();
        video->swapBuffers();
        int sleep = Timer::frameSleep(timer->ticks());
        if (sleep > 0)
            SDL_Delay(sleep);
    }
}

// Hands every queued event to the part; during the fade-in they are dropped, except that a
// window close is never lost: it ends the part as if the part had asked to quit.
int EnginePart::pollEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (fadeFrames != 0) {
            if (event.type == SDL_QUIT)
                return PartResult::quit;
            continue;
        }
        Uint8 buttons = SDL_GetMouseState(&mouseX, &mouseY);
        leftHeld = (buttons & 0x1F) == 0x01;
        rightPressed = event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_RIGHT;
        int result = handleEvent(&event);
        if (result != PartResult::goOn)
            return result;
    }
    return PartResult::goOn;
}

void EnginePart::paintFadeIn() {
    glColor4f(1, 1, 1, 1);
    const float whiteLeft = fadeFrames / static_cast<float>(fadeInLength);
    video->ditherFill(whiteLeft);
    sound->setBackgroundVolume(static_cast<float>((1 - whiteLeft) * SoundSystem::normalVolume));
    fadeFrames -= 1;
}
