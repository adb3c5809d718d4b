// One line of a scene's script: what is said, what opens it, and what it changes on the board
// when it is dismissed.
#pragma once
#include <string>
#include <utility>

// What opens a line.
enum TriggerKind {
    afterPreviousLine = 0, // the line before it is dismissed (the first line: the scene starts)
    walkingInto = 1,       // the boy walks against a cell holding icon triggerArg
    recognisedGesture = 2  // a stroke is recognised as gesture triggerArg
};

// replaceFrom of a line that changes nothing.
constexpr int noReplacement = -1;

struct ScriptLine {
    std::string text;
    TriggerKind triggerKind = afterPreviousLine;
    int triggerArg = 0;
    // Whenever a text is dismissed while this is the current line, every cell holding
    // replaceFrom becomes replaceTo.
    int replaceFrom = noReplacement;
    int replaceTo = 0;

    // The same line, turning every `from` on the board into `to` when it is dismissed.
    ScriptLine turning(int from, int to) const {
        ScriptLine line = *this;
        line.replaceFrom = from;
        line.replaceTo = to;
        return line;
    }
};

// Builders, so that a scene's script reads as the player meets it.
// Said as soon as the line before it is dismissed (the first line: as the scene starts).
inline ScriptLine said(std::string text) {
    return {std::move(text)};
}
// Said when the boy walks into a cell holding `icon`.
inline ScriptLine onWalkingInto(int icon, std::string text) {
    return {std::move(text), walkingInto, icon};
}
// Said when the boy makes gesture `gesture`.
inline ScriptLine onGesture(int gesture, std::string text) {
    return {std::move(text), recognisedGesture, gesture};
}
