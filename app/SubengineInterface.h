// The three subsystems every part is handed by the engine.
#pragma once

class Timer;
class Video;
class SoundSystem;

struct SubengineInterface {
    Timer* timer = nullptr;
    Video* video = nullptr;
    SoundSystem* sound = nullptr;
};
