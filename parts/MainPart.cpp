// The scene part's model: construction, the board queries and the set-up of a scene.
#include "parts/MainPart.h"

#include "parts/Direction.h"

MainPart::MainPart(SubengineInterface* subsystems, int* sceneIndex)
    : EnginePart(subsystems), sceneIndex(sceneIndex), recognizer(new GestureRecognizer) {
    setUp();
}

MainPart::~MainPart() {
    delete recognizer;
}

void MainPart::setUp() {
    gestureTimer = 0;
    salesCount = 0;
    lastGesture = noGesture;
    stroking = false;
    sceneDone = false;

    // The engine keeps the counter at 0 to 5 while this part runs; anything else lays out the
    // first scene rather than reading past the table.
    int scene = *sceneIndex;
    if (scene < 0 || scene >= sceneCount)
        scene = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid[r][c] = sceneGrids[scene][r][c];

    registerTemplates();

    script.clear();
    refusals.clear();
    remarkShowing = false;
    lineIndex = 0;
    lineShowing = false;
    inConversation = false;

    appendSceneContent(scene);

    // The first line is there as the scene fades in, so it comes without the message sound.
    if (!script.empty() && script[0].triggerKind == afterPreviousLine) {
        lineShowing = true;
        inConversation = true;
        shownText = script[0].text;
    }
}

int MainPart::cellAt(int row, int column) const {
    if (row < 0 || row >= rows || column < 0 || column >= columns)
        return outsideCell;
    return grid[row][column];
}

bool MainPart::gridContains(int icon) const {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (grid[r][c] == icon)
                return true;
    return false;
}

void MainPart::findPlayer() {
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            if (isPlayerIcon(grid[r][c])) {
                playerColumn = c;
                playerRow = r;
            }
}

int MainPart::besidePlayer(int direction) const {
    return cellAt(playerRow + rowStep[direction], playerColumn + columnStep[direction]);
}

int MainPart::neighbour(int direction) {
    findPlayer();
    if (direction < 0 || direction >= directionCount)
        return -1;
    return besidePlayer(direction);
}

bool MainPart::isNextTo(int icon) {
    findPlayer();
    // Off the board nothing stands, not even an icon that happens to equal outsideCell.
    if (icon == outsideCell)
        return false;
    for (int direction : neighbourOrder)
        if (besidePlayer(direction) == icon)
            return true;
    return false;
}
