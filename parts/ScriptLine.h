// One line of a scene's script: what is said, when it opens, and what it changes on dismissal.
#pragma once
#include <string>

struct ScriptLine {
    std::string text;
    // 0: opens when the line before is dismissed; 1: when the player walks against icon
    // triggerArg; 2: when gesture triggerArg is recognised.
    int triggerKind = 0;
    int triggerArg = 0;
    // -1 for none; else every cell holding replaceFrom becomes replaceTo when a text is dismissed.
    int replaceFrom = -1;
    int replaceTo = 0;
};
