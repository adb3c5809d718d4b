// The scene part: six scripted scenes on a board of icons, played with strokes and arrow keys.
//
// The class is split by concern: MainPart.cpp (model, queries, set-up), MainPartRules.cpp
// (events, update, moves, gestures), MainPartScenes.cpp (the six scenes' boards, refusals and
// scripts), MainPartDrawing.cpp (the frame).
#pragma once
#include <string>
#include <vector>

#include "app/EnginePart.h"
#include "gesture/GestureRecognizer.h"
#include "parts/MoveRefusal.h"
#include "parts/ScriptLine.h"

class MainPart : public EnginePart {
public:
    static const int rows = 8;
    static const int columns = 10;
    static const int sceneCount = 6;
    // The boards of the six scenes, [scene][row][column], row 0 at the top.
    static const int sceneGrids[sceneCount][rows][columns];

    // Takes the engine's subsystems and the shared scene counter; lays out the current scene.
    MainPart(SubengineInterface* subsystems, int* sceneIndex);
    ~MainPart() override;

    // Lays out the scene the counter names; called by the engine each time the part starts.
    void setUp() override;
    int handleEvent(SDL_Event* event) override;
    int update() override;
    void draw() override;

    // Board queries. A cell outside the board answers as outsideCell.
    bool gridContains(int icon) const;
    void findPlayer();
    int neighbour(int direction);
    bool isNextTo(int icon);

    // Rules.
    void registerTemplates();
    void replaceNeighbour(int from, int to);
    void step(int direction);
    void tryMove(int direction);

    // An impassable icon that matches nothing, for cells off the board.
    static const int outsideCell = -2;

    int* sceneIndex;
    int grid[rows][columns] = {};
    int playerColumn = 0;
    int playerRow = 0;
    std::string shownText;
    std::vector<ScriptLine> script;
    std::vector<MoveRefusal> refusals;
    int lineIndex = 0;
    bool lineShowing = false;
    bool remarkShowing = false;
    bool inConversation = false;
    bool sceneDone = false;
    GestureRecognizer* recognizer = nullptr;
    bool stroking = false;
    int lastGesture = -1;
    int gestureTimer = 0;
    int salesCount = 0;

private:
    // Appends scene s's seven refusal entries and its script lines (MainPartScenes.cpp).
    void appendSceneContent(int scene);
};
