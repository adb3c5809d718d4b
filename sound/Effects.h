// The game's four sound effects: the number each is played by, and the file it is loaded from.
// The engine loads the files in this order, and the sound object numbers effects in load order.
#pragma once

enum SoundEffect {
    selectionEffect = 0, // the title's highlight moves between "begin" and "quit"
    beginEffect = 1,     // "begin" is chosen
    messageEffect = 2,   // someone speaks: a script line or a refusal appears in the box
    gestureEffect = 3,   // a stroke is recognised as a gesture
    effectCount = 4
};

inline constexpr const char* effectFiles[effectCount] = {
    "audio/blipn.wav",
    "audio/bigblip.wav",
    "audio/good.wav",
    "audio/bad.wav",
};
