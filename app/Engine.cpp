// The part loop and the lifetime of the three subsystems.
#include "app/Engine.h"

#include <iostream>

#include "app/EnginePart.h"
#include "app/PartResult.h"
#include "app/Timer.h"
#include "graphics/Video.h"
#include "sound/SoundSystem.h"

Engine::Engine() {
    timer = new Timer;
    sound = new SoundSystem;
    video = new Video;
}

Engine::~Engine() {
    delete timer;
    if (sound)
        delete sound;
    delete video;
    std::cout << "Exited cleanly" << std::endl;
}

void Engine::run() {
    while (current >= 0) {
        EnginePart* part = parts[current];
        part->fadeFrames = 0;
        part->setUp();
        int result = part->loop();
        // A window close during the dissolve still ends the program once it is over.
        if (video->fadeOut(sound))
            result = PartResult::quit;
        int next = nextPart(current, result);
        if (next >= 0) {
            parts[next]->mouseX = part->mouseX;
            parts[next]->mouseY = part->mouseY;
            parts[next]->leftHeld = part->leftHeld;
        }
        current = next;
    }
}
