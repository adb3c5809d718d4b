// The scene part's rules: keys, strokes and gestures, moves and refusals, the people's
// reactions, and the end of a scene. Nothing here draws.
#include <iostream>
#include <utility>

#include "gesture/GestureTemplates.h"
#include "parts/MainPart.h"
#include "sound/SoundSystem.h"

namespace {
// Sound effects, numbered in the order the engine loads them.
const int messageSound = 2;
const int gestureSound = 3;

// Frames the player blinks with a recognised gesture; no stroke or step meanwhile.
const int gestureLockFrames = 60;

// Gesture ids.
const int uShape = 4;
const int zShape = 5;
const int proposition = 6;

// Icons with a part in the rules.
const int house = 17;
const int soldHouse = 20;
const int willingStranger = 13;
const int friendIcon = 12;

// Slot of the refusal for walking away from a conversation.
const int leavingSlot = 4;

const char* const customerLines[4] = {
    "Oh, that looks like a real bargain.  I'll take two!",
    "Hmm...I've never bought one before, but I'll try it anyway.",
    "Oh, I've been looking for mascara like this all my life!",
    "Oh, that looks like a real bargain.  I'll take two!",
};
const char* const strangerReply = "Come on; let's go back to my place, yeah?";
const char* const friendReply =
    "What...what are you trying to do?  Cut it out, man; that's not cool.";

bool isWalkable(int icon) {
    return icon == 16 || icon == 18 || icon == 24 || icon == 26;
}
} // namespace

int MainPart::handleEvent(SDL_Event* event) {
    const bool textShowing = lineShowing || remarkShowing;
    switch (event->type) {
    case SDL_QUIT:
        return -1;
    case SDL_KEYDOWN:
        switch (event->key.keysym.sym) {
        case SDLK_ESCAPE:
            return 3;
        case SDLK_UP:
            step(0);
            return 0;
        case SDLK_DOWN:
            step(1);
            return 0;
        case SDLK_LEFT:
            step(2);
            return 0;
        case SDLK_RIGHT:
            step(3);
            return 0;
        case SDLK_SPACE:
            return textShowing ? dismiss() : 0;
        default:
            return 0;
        }
    case SDL_MOUSEBUTTONDOWN:
        // The press point is the part's mouse position, as for every later sample.
        if (event->button.button == SDL_BUTTON_LEFT && !textShowing &&
            !recognizer->templates.empty() && gestureTimer == 0) {
            recognizer->beginStroke(mouseX, mouseY);
            stroking = true;
        }
        return 0;
    case SDL_MOUSEBUTTONUP:
        // A release while a text shows leaves the stroke going, trail and all.
        if (event->button.button == SDL_BUTTON_LEFT && !textShowing && stroking)
            endStroke();
        return 0;
    default:
        return 0;
    }
}

int MainPart::update() {
    if (stroking) {
        recognizer->addPoint(mouseX, mouseY);
        sound->raiseBackgroundVolume();
    } else {
        sound->lowerBackgroundVolume();
    }
    if (gestureTimer > 0)
        gestureTimer -= 1;
    if (sceneDone && !remarkShowing) {
        lineShowing = false;
        *sceneIndex += 1;
        return 1;
    }
    return 0;
}

const ScriptLine* MainPart::currentLine() const {
    if (lineIndex < 0 || lineIndex >= static_cast<int>(script.size()))
        return nullptr;
    return &script[lineIndex];
}

void MainPart::openCurrentLine() {
    sound->playSound(messageSound);
    lineShowing = true;
    inConversation = true;
    shownText = currentLine()->text;
}

bool MainPart::refuses(int slot) const {
    return slot < static_cast<int>(refusals.size()) && !refusals[slot].firstText.empty();
}

void MainPart::refuse(MoveRefusal& refusal) {
    remarkShowing = true;
    lastGesture = -1;
    inConversation = true;
    sound->playSound(messageSound);
    shownText = refusal.said ? refusal.repeatText : refusal.firstText;
    refusal.said = true;
}

int MainPart::dismiss() {
    const bool wasLine = lineShowing;
    lastGesture = -1;
    gestureTimer = 0;

    // The current line's change applies whatever text goes, a remark included.
    if (const ScriptLine* line = currentLine(); line && line->replaceFrom >= 0)
        for (auto& row : grid)
            for (int& cell : row)
                if (cell == line->replaceFrom)
                    cell = line->replaceTo;

    if (!wasLine) {
        remarkShowing = false;
        return 0;
    }
    lineIndex += 1;
    if (const ScriptLine* next = currentLine()) {
        if (next->triggerKind == 0)
            openCurrentLine();
        else
            lineShowing = false;
        return 0;
    }
    lineShowing = false;
    *sceneIndex += 1;
    return 1;
}

void MainPart::step(int direction) {
    if (lineShowing || remarkShowing || gestureTimer > 0)
        return;
    const int v = neighbour(direction);
    if (isWalkable(v)) {
        tryMove(direction);
        return;
    }
    const ScriptLine* line = currentLine();
    if (v != outsideCell && line && line->triggerKind == 1 && line->triggerArg == v)
        openCurrentLine();
}

void MainPart::tryMove(int direction) {
    if (direction < 0 || direction > 3)
        return;
    if (lastGesture != direction && refuses(direction)) {
        refuse(refusals[direction]);
        return;
    }
    if (inConversation && refuses(leavingSlot)) {
        refuse(refusals[leavingSlot]);
        return;
    }
    findPlayer();
    const int toRow = playerRow + rowStep[direction],
              toColumn = playerColumn + columnStep[direction];
    if (cellAt(toRow, toColumn) == outsideCell)
        return;
    std::swap(grid[playerRow][playerColumn], grid[toRow][toColumn]);
    findPlayer();
}

void MainPart::endStroke() {
    const int g = recognizer->classify();
    lastGesture = g;
    if (g == -1) {
        stroking = false;
        return;
    }
    sound->playSound(gestureSound);
    gestureTimer = gestureLockFrames;

    if (g == uShape)
        inConversation = false;
    else if (g == zShape)
        makeSale();
    else if (g == proposition)
        propose();

    const ScriptLine* line = currentLine();
    if (line && line->triggerKind == 2 && line->triggerArg == g)
        openCurrentLine();
    stroking = false;
}

void MainPart::makeSale() {
    // The first half of a diagnostic line; replaceNeighbour ends it after a sale. Without a
    // house there is no sale, so end the line here rather than glue it to the next one.
    std::cout << "gesture5" << std::flush;
    if (!isNextTo(house)) {
        std::cout << std::endl;
        return;
    }
    remarkShowing = true;
    if (salesCount >= 0 && salesCount <= 3)
        shownText = customerLines[salesCount];
    replaceNeighbour(house, soldHouse);
    salesCount += 1;
    if (salesCount > 3)
        sceneDone = true;
}

void MainPart::propose() {
    if (isNextTo(willingStranger)) {
        sceneDone = true;
        remarkShowing = true;
        shownText = strangerReply;
    }
    // Next to both, the friend's protest is what shows; the scene still ends.
    if (isNextTo(friendIcon)) {
        remarkShowing = true;
        shownText = friendReply;
    }
}

void MainPart::registerTemplates() {
    recognizer->reset();
    for (const GestureTemplate& t : gestureTemplates)
        if (gridContains(firstLegendIcon + t.id))
            recognizer->addTemplate(t.codes, t.id);
}

void MainPart::replaceNeighbour(int from, int to) {
    findPlayer();
    const int r = playerRow, c = playerColumn;
    const int cells[4][2] = {{r, c - 1}, {r, c + 1}, {r - 1, c}, {r + 1, c}};
    std::cout << cellAt(r, c - 1) << "," << cellAt(r, c + 1) << "," << cellAt(r - 1, c) << ","
              << cellAt(r + 1, c) << std::endl;
    std::cout << "fromto" << from << "," << to << std::endl;
    for (const auto& cell : cells)
        if (cellAt(cell[0], cell[1]) == from && from != outsideCell) {
            grid[cell[0]][cell[1]] = to;
            return;
        }
}
