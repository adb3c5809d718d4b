// The engine: owns the subsystems, runs the part table and the transitions between parts.
#pragma once
#include <vector>

#include "app/SubengineInterface.h"

class EnginePart;

class Engine : public SubengineInterface {
  public:
    // Creates the timer, then the sound system, then the video (audio comes up before video).
    Engine();
    // Deletes the three subsystems and says "Exited cleanly"; the parts are left alone.
    virtual ~Engine();
    // The engine owns its subsystems: a copy would delete them twice.
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    // The part loop: runs parts until nextPart answers with a negative index.
    void run();
    // Maps the part that ended and its result to the next part's index, or -1 to stop.
    virtual int nextPart(int current, int result) = 0;

    int current = 0;
    std::vector<EnginePart*> parts;
};
