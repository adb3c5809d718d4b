// The scene rules on small rooms of our own: pointing, refusals, strokes, sales, texts, leaving.
#include <gtest/gtest.h>

#include <string>

#include "tests/MainPartDriver.h"

namespace {
const int floorIcon = 24, player = 8;

// A walled room of floor with every gesture's legend in the top wall, the player at (row, column),
// refusals "first N" / "again N" in the first `refusing` slots and a script that waits for ever.
struct Room : SceneDriver {
    Room(int row, int column, int refusing = 0) : SceneDriver(0) {
        for (int r = 0; r < MainPart::rows; ++r)
            for (int c = 0; c < MainPart::columns; ++c)
                part.grid[r][c] = (r % 7 == 0 || c % 9 == 0) ? 27 : floorIcon;
        for (int id = 0; id < 7; ++id)
            part.grid[0][1 + id] = 33 + id;
        part.grid[row][column] = player;
        part.registerTemplates();
        part.refusals.assign(7, MoveRefusal{});
        for (int s = 0; s < refusing; ++s)
            part.refusals[s] = {"first " + std::to_string(s), "again " + std::to_string(s)};
        part.script = {ScriptLine{"waiting", 1, 400, -1, 0}};
        part.lineShowing = part.inConversation = false;
    }
};
} // namespace

TEST(SceneRules, PointingOpensADirectionOnlyAfterTheSixtyFrameLock) {
    Room d(5, 4, 4);
    d.part.sound->setBackgroundVolume(0.1f);
    d.stroke(gestureStrokes[0]);
    EXPECT_GT(d.part.sound->backgroundVolume, 0.1f); // the noise swells while a stroke is drawn
    // Space with nothing showing keeps the pointing and the lock; no step or stroke meanwhile.
    d.run(".^59f^");
    d.press();
    EXPECT_FALSE(d.part.stroking);
    EXPECT_EQ(d.part.grid[5][4], player);
    // Then the pointing holds for every step that way, until a stroke that matches nothing.
    EXPECT_EQ(d.says("f^^^"), "");
    EXPECT_EQ(d.part.grid[2][4], player);
    d.stroke("6");
    EXPECT_EQ(d.says("^"), "first 0");
}

TEST(SceneRules, RefusalsSayFirstThenRepeatAndOnlyTheUShapeEndsAConversation) {
    Room d(4, 4, 5);
    // Nothing moves while a remark shows. A refusal begins a conversation: leaving it is refused
    // too, which forgets the pointing; the U-shape ends it but points nowhere.
    const char* const steps[][2] = {{"<^", "first 2"}, {".<", "again 2"},  {".R>", "first 4"},
                                    {".>", "first 3"}, {".C>", "again 3"}, {".CR>", ""}};
    for (const auto& step : steps)
        EXPECT_EQ(d.says(step[0]), step[1]) << step[0];
    EXPECT_EQ(d.part.grid[4][5], player);
}

TEST(SceneRules, AReleaseWhileATextShowsLeavesTheStrokeGoing) {
    Room d(4, 4, 4);
    d.moveMouse(320, 400);
    d.press();
    d.moveMouse(320, 370);
    EXPECT_EQ(d.says("fv"), "first 1"); // a refusal cuts in
    d.press();                          // and no new stroke starts under it
    d.release();
    d.moveMouse(320, 340); // the trail keeps following the mouse
    d.frame();
    EXPECT_EQ(d.part.recognizer->strokePoints.size(), 2u);
    d.space();
    d.moveMouse(320, 310);
    d.frame();
    d.release();
    EXPECT_EQ(d.part.lastGesture, 0);
}

TEST(SceneRules, SalesGoLeftRightUpDownAndTheFourthEndsTheScene) {
    Room d(3, 4);
    testing::internal::CaptureStdout();
    EXPECT_EQ(d.says("Z60f"), ""); // no house to sell to: nothing, but a whole output line
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gesture5\n");
    d.part.grid[3][3] = d.part.grid[3][5] = d.part.grid[2][4] = d.part.grid[4][4] = 17;
    const char* const lines[] = {"Oh, that looks like a real bargain.  I'll take two!",
                                 "Hmm...I've never bought one before, but I'll try it anyway.",
                                 "Oh, I've been looking for mascara like this all my life!",
                                 "Oh, that looks like a real bargain.  I'll take two!"};
    testing::internal::CaptureStdout();
    for (int sale = 0; sale < 4; ++sale) {
        EXPECT_EQ(d.says(sale ? ".Z" : "Z"), lines[sale]);
        EXPECT_EQ(d.count(20), sale + 1);
    }
    // The Z writes "gesture5" and replaceNeighbour ends the line with the neighbours.
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "gesture517,17,17,17\nfromto17,20\ngesture520,17,17,17\nfromto17,20\n"
              "gesture520,20,17,17\nfromto17,20\ngesture520,20,20,17\nfromto17,20\n");
    // The scene ends at the first frame after the last customer has been heard out.
    EXPECT_EQ(d.frame(), 0);
    EXPECT_EQ(d.space(), 0);
    EXPECT_EQ(d.frame(), 1);
}

TEST(SceneRules, ThePropositionOffendsTheFriendEvenBesideAWillingStranger) {
    Room d(3, 4);
    d.part.grid[3][5] = 12;
    d.part.grid[2][4] = 13;
    EXPECT_EQ(d.says("P"), "What...what are you trying to do?  Cut it out, man; that's not cool.");
    EXPECT_TRUE(d.part.sceneDone); // the stranger is won all the same
}

TEST(SceneRules, DismissingAnyTextAppliesTheCurrentLinesChange) {
    Room d(4, 4, 4);
    d.part.grid[2][2] = 9;
    d.part.script = {ScriptLine{"the table", 1, 9, floorIcon, 16}, ScriptLine{"next", 0, 0, -1, 0}};
    // A refusal dismissed changes the board although the line still waits for the table.
    EXPECT_EQ(d.says("<."), "");
    EXPECT_EQ(d.count(16), 6 * 8 - 2);
    d.part.grid[4][3] = 9;
    EXPECT_EQ(d.says("<"), "the table");
    EXPECT_EQ(d.says("."), "next");
    EXPECT_EQ(d.space(), 1);
}

TEST(SceneRules, EscapeAndTheWindowCloseWorkInEveryState) {
    SDL_Event close{};
    close.type = SDL_QUIT;
    // A line showing, nothing, a remark, a stroke being drawn, the blink after a gesture.
    for (int state = 0; state < 5; ++state) {
        SceneDriver d(1);
        d.run(state == 0 ? "" : state == 2 ? "8.<" : "8.");
        if (state == 3)
            d.press();
        if (state == 4)
            d.stroke(gestureStrokes[0]);
        ASSERT_EQ(d.textShowing() || d.part.stroking || d.part.gestureTimer, state != 1);
        EXPECT_EQ(d.key(SDLK_ESCAPE), 3) << state;
        EXPECT_EQ(d.send(close), -1) << state;
        EXPECT_EQ(d.key(SDLK_a), 0) << state;
        EXPECT_EQ(d.counter, 1);
    }
}

TEST(SceneRules, OffTheBoardIsSolidAndMatchesNothing) {
    Room d(0, 9); // the top-right corner
    d.part.script = {ScriptLine{"edge", 1, MainPart::outsideCell, -1, 0}};
    EXPECT_FALSE(d.part.isNextTo(MainPart::outsideCell));
    EXPECT_EQ(d.says("^>"), "");
    EXPECT_EQ(d.part.grid[0][9], player);
}
