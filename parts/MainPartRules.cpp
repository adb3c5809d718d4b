// The scene part's rules: keys, strokes and gestures, moves and refusals, the people's
// reactions, and the end of a scene. Nothing here draws.
#include <iostream>
#include <utility>

#include "app/PartResult.h"
#include "gesture/GestureTemplates.h"
#include "parts/Direction.h"
#include "parts/MainPart.h"
#include "sound/Effects.h"
#include "sound/SoundSystem.h"

namespace {
bool isWalkable(int icon) {
    return icon == Icon::floorFirstForm || icon == Icon::groundLateForm || icon == Icon::floor ||
           icon == Icon::ground;
}
} // namespace

int MainPart::handleEvent(SDL_Event* event) {
    switch (event->type) {
    case SDL_QUIT:
        return PartResult::quit;
    case SDL_KEYDOWN:
        switch (event->key.keysym.sym) {
        case SDLK_ESCAPE:
            return PartResult::backToTitle;
        case SDLK_UP:
            step(moveUp);
            return PartResult::goOn;
        case SDLK_DOWN:
            step(moveDown);
            return PartResult::goOn;
        case SDLK_LEFT:
            step(moveLeft);
            return PartResult::goOn;
        case SDLK_RIGHT:
            step(moveRight);
            return PartResult::goOn;
        case SDLK_SPACE:
            return textShowing() ? dismiss() : PartResult::goOn;
        default:
            return PartResult::goOn;
        }
    case SDL_MOUSEBUTTONDOWN:
        // The press point is the part's mouse position, as for every later sample.
        if (event->button.button == SDL_BUTTON_LEFT && !textShowing() &&
            !recognizer->templates.empty() && gestureTimer == 0) {
            recognizer->beginStroke(mouseX, mouseY);
            stroking = true;
        }
        return PartResult::goOn;
    case SDL_MOUSEBUTTONUP:
        // A release while a text shows leaves the stroke going, trail and all.
        if (event->button.button == SDL_BUTTON_LEFT && !textShowing() && stroking)
            endStroke();
        return PartResult::goOn;
    default:
        return PartResult::goOn;
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
    if (sceneDone && !remarkShowing)
        return finishScene();
    return PartResult::goOn;
}

int MainPart::finishScene() {
    lineShowing = false;
    *sceneIndex += 1;
    return PartResult::next;
}

const ScriptLine* MainPart::currentLine() const {
    if (lineIndex < 0 || lineIndex >= static_cast<int>(script.size()))
        return nullptr;
    return &script[lineIndex];
}

void MainPart::openCurrentLine() {
    sound->playSound(messageEffect);
    lineShowing = true;
    inConversation = true;
    shownText = currentLine()->text;
}

bool MainPart::refuses(int slot) const {
    return slot < static_cast<int>(refusals.size()) && !refusals[slot].firstText.empty();
}

void MainPart::refuse(MoveRefusal& refusal) {
    remarkShowing = true;
    lastGesture = noGesture;
    inConversation = true;
    sound->playSound(messageEffect);
    shownText = refusal.said ? refusal.repeatText : refusal.firstText;
    refusal.said = true;
}

int MainPart::dismiss() {
    const bool wasLine = lineShowing;
    lastGesture = noGesture;
    gestureTimer = 0;

    // The current line's change applies whatever text goes, a remark included.
    if (const ScriptLine* line = currentLine(); line && line->replaceFrom != noReplacement)
        for (auto& row : grid)
            for (int& cell : row)
                if (cell == line->replaceFrom)
                    cell = line->replaceTo;

    if (!wasLine) {
        remarkShowing = false;
        return PartResult::goOn;
    }
    lineIndex += 1;
    if (const ScriptLine* next = currentLine()) {
        if (next->triggerKind == afterPreviousLine)
            openCurrentLine();
        else
            lineShowing = false;
        return PartResult::goOn;
    }
    return finishScene();
}

void MainPart::step(int direction) {
    if (textShowing() || gestureTimer > 0)
        return;
    const int v = neighbour(direction);
    if (isWalkable(v)) {
        tryMove(direction);
        return;
    }
    const ScriptLine* line = currentLine();
    if (v != outsideCell && line && line->triggerKind == walkingInto && line->triggerArg == v)
        openCurrentLine();
}

void MainPart::tryMove(int direction) {
    if (direction < 0 || direction >= directionCount)
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
    if (g == noGesture) {
        stroking = false;
        return;
    }
    sound->playSound(gestureEffect);
    gestureTimer = gestureLockFrames;

    if (g == uShape)
        inConversation = false;
    else if (g == zShape)
        makeSale();
    else if (g == proposition)
        propose();

    const ScriptLine* line = currentLine();
    if (line && line->triggerKind == recognisedGesture && line->triggerArg == g)
        openCurrentLine();
    stroking = false;
}

void MainPart::makeSale() {
    // The first half of a diagnostic line; replaceNeighbour ends it after a sale. Without a
    // house there is no sale, so end the line here rather than glue it to the next one.
    std::cout << "gesture5" << std::flush;
    if (!isNextTo(Icon::houseLateForm)) {
        std::cout << std::endl;
        return;
    }
    remarkShowing = true;
    if (salesCount >= 0 && salesCount < housesToSell)
        shownText = reactions.customers[salesCount];
    replaceNeighbour(Icon::houseLateForm, Icon::soldHouse);
    salesCount += 1;
    if (salesCount >= housesToSell)
        sceneDone = true;
}

void MainPart::propose() {
    if (isNextTo(Icon::stranger)) {
        sceneDone = true;
        remarkShowing = true;
        shownText = reactions.stranger;
    }
    // Next to both, the friend's protest is what shows; the scene still ends.
    if (isNextTo(Icon::oldFriend)) {
        remarkShowing = true;
        shownText = reactions.oldFriend;
    }
}

void MainPart::registerTemplates() {
    recognizer->reset();
    for (const GestureTemplate& t : gestureTemplates)
        if (gridContains(Icon::firstLegend + t.id))
            recognizer->addTemplate(t.codes, t.id);
}

void MainPart::replaceNeighbour(int from, int to) {
    findPlayer();
    const char* separator = "";
    for (int direction : neighbourOrder) {
        std::cout << separator << besidePlayer(direction);
        separator = ",";
    }
    std::cout << std::endl;
    std::cout << "fromto" << from << "," << to << std::endl;
    if (from == outsideCell)
        return;
    for (int direction : neighbourOrder)
        if (besidePlayer(direction) == from) {
            grid[playerRow + rowStep[direction]][playerColumn + columnStep[direction]] = to;
            return;
        }
}
