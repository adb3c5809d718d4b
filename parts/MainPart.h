// The scene part: six scripted scenes on a board of icons, played with strokes and arrow keys.
//
// The class is split by concern: MainPart.cpp (model, queries, set-up), MainPartRules.cpp
// (events, update, moves, gestures), MainPartScenes.cpp (the six scenes' boards, refusals and
// scripts, and the reactions to gestures), MainPartDrawing.cpp (the frame).
#pragma once
#include <string>
#include <vector>

#include "app/EnginePart.h"
#include "gesture/GestureRecognizer.h"
#include "gesture/GestureTemplates.h"
#include "parts/Icons.h"
#include "parts/MoveRefusal.h"
#include "parts/ScriptLine.h"

class MainPart : public EnginePart {
  public:
    static constexpr int rows = 8;
    static constexpr int columns = 10;
    static constexpr int sceneCount = 6;
    // Frames the player blinks with a recognised gesture; no stroke or step meanwhile.
    static constexpr int gestureLockFrames = 60;
    // A Z-shape sells to at most this many houses; the last sale ends the scene.
    static constexpr int housesToSell = 4;
    // The boards of the six scenes, [scene][row][column], row 0 at the top.
    static const int sceneGrids[sceneCount][rows][columns];
    // What people say back to a gesture, in whichever scene it is made.
    struct Reactions {
        const char* customers[housesToSell]; // to the Z-shape beside a house, sale by sale
        const char* stranger;                // to the proposition, accepting it
        const char* oldFriend;               // to the proposition, taking offence
    };
    // Kept with the scenes' own texts (MainPartScenes.cpp): every word the player reads.
    static const Reactions reactions;

    // Takes the engine's subsystems and the shared scene counter; lays out the current scene.
    MainPart(SubengineInterface* subsystems, int* sceneIndex);
    ~MainPart() override;
    // The part owns its recognizer: a copy would delete it twice.
    MainPart(const MainPart&) = delete;
    MainPart& operator=(const MainPart&) = delete;

    // Lays out the scene the counter names; called by the engine each time the part starts.
    void setUp() override;
    // Keys and the left button (MainPartRules.cpp); 1 when the space bar ends the scene.
    int handleEvent(SDL_Event* event) override;
    // Once a frame: the stroke's next sample, the noise, the gesture lock, a finished scene.
    int update() override;
    // The whole frame from the model alone (MainPartDrawing.cpp).
    void draw() override;

    // Board queries. A cell outside the board answers as outsideCell.
    bool gridContains(int icon) const;
    // Finds the player column by column; the last player cell found wins. Keeps the old
    // position when no cell holds a player form.
    void findPlayer();
    // The icon next to the player in a Direction; -1 for any other number.
    int neighbour(int direction);
    // Whether the icon is beside the player, looking in neighbourOrder (never diagonally).
    bool isNextTo(int icon);
    // Whether the box shows a text: a line, a remark, or for a moment both.
    bool textShowing() const { return lineShowing || remarkShowing; }

    // Rules (MainPartRules.cpp).
    // Gives the recognizer the templates of the gestures whose legend icons lie on the board.
    void registerTemplates();
    // Turns the first neighbour in neighbourOrder holding `from` into `to`, after writing the
    // four neighbours and the change on standard output.
    void replaceNeighbour(int from, int to);
    // An arrow key: walks, or opens the waiting line when walking against its icon.
    void step(int direction);
    // A walk onto floor, unless someone refuses it.
    void tryMove(int direction);

    // The icons that mark the player's cell; static, so boards can be read without a part.
    static bool isPlayerIcon(int icon) {
        return icon == Icon::boyFirstForm || icon == Icon::boyLateForm || icon == Icon::boy ||
               icon == Icon::boySpareForm;
    }

    // An impassable icon that matches nothing, for cells off the board.
    static constexpr int outsideCell = -2;

    // The model, public so that the tests read it directly.
    int* sceneIndex; // the engine's scene counter, shared with the title part
    int grid[rows][columns] = {};
    // As findPlayer last found them; set-up leaves them, as every rule finds the player first.
    int playerColumn = 0;
    int playerRow = 0;
    std::string shownText;
    std::vector<ScriptLine> script;
    std::vector<MoveRefusal> refusals;
    int lineIndex = 0;
    // Both are set at once when a gesture opens a line over its own reaction: the space bar then
    // takes the line away first.
    bool lineShowing = false;
    bool remarkShowing = false;
    bool inConversation = false;
    bool sceneDone = false;
    GestureRecognizer* recognizer = nullptr; // owned, one for the whole run
    bool stroking = false;
    int lastGesture = noGesture;
    int gestureTimer = 0;
    int salesCount = 0;

  private:
    // Appends the scene's refusal entries, one per slot, and its script (MainPartScenes.cpp).
    void appendSceneContent(int scene);
    // The pointer with its top-left corner at (x, y), outlined so it shows on any tile.
    void drawPointer(int x, int y);
    // Counts the scene as finished and tells the engine so.
    int finishScene();

    // The icon at (row, column), or outsideCell off the board.
    int cellAt(int row, int column) const;
    // The icon next to the player as last found, in a Direction.
    int besidePlayer(int direction) const;
    // The line on show or waiting for its trigger; null once the script has run out.
    const ScriptLine* currentLine() const;
    // Puts the current line in the box (with the message sound).
    void openCurrentLine();
    // Shows a refusal's first or repeat text; the move does not happen.
    void refuse(MoveRefusal& refusal);
    // Whether refusal slot `slot` exists and refuses anything.
    bool refuses(int slot) const;
    // Space while a text shows; 1 when the script has run out.
    int dismiss();
    // The left button released after a stroke with no text showing.
    void endStroke();
    // What the Z-shape and the proposition do to the people and houses beside the boy.
    void makeSale();
    void propose();
};
