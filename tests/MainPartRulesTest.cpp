// The scene rules on small boards of our own: pointing, the gesture lock, refusals,
// conversations, strokes cut across by texts, sales, propositions, dismissing and leaving.
#include <gtest/gtest.h>

#include <string>

#include "tests/MainPartDriver.h"

namespace {
const int wall = 27;
const int floorIcon = 24;
const int player = 8;

// A walled room of floor with the whole gesture legend in the top wall, the player at (row,
// column), every refusal switched off and a script that waits for ever.
void layOutRoom(SceneDriver& d, int row, int column) {
    MainPart& p = d.part;
    for (int r = 0; r < MainPart::rows; ++r)
        for (int c = 0; c < MainPart::columns; ++c)
            p.grid[r][c] = (r == 0 || r == 7 || c == 0 || c == 9) ? wall : floorIcon;
    for (int id = 0; id < 7; ++id)
        p.grid[0][1 + id] = 33 + id;
    p.grid[row][column] = player;
    p.registerTemplates();
    p.refusals.assign(7, MoveRefusal{});
    p.script = {ScriptLine{"waiting", 1, 400, -1, 0}};
    p.lineIndex = 0;
    p.lineShowing = p.remarkShowing = p.inConversation = p.sceneDone = false;
    p.lastGesture = -1;
    p.gestureTimer = 0;
    p.salesCount = 0;
}

// Slots 0 to 4 refuse with "first N" and then "again N".
void switchOnRefusals(SceneDriver& d, int slots = 5) {
    for (int s = 0; s < slots; ++s)
        d.part.refusals[s] =
            MoveRefusal{"first " + std::to_string(s), "again " + std::to_string(s)};
}
} // namespace

TEST(SceneRules, PointingOpensADirectionOnlyAfterTheSixtyFrameLock) {
    SceneDriver d(0);
    layOutRoom(d, 5, 4);
    switchOnRefusals(d, 4);
    SoundSystem* sound = d.part.sound;
    sound->setBackgroundVolume(0.1f);

    // The noise swells one step for each of the stroke's six frames.
    d.stroke(gestureStroke(0));
    EXPECT_NEAR(sound->backgroundVolume, 0.148f, 1e-4);
    EXPECT_EQ(d.part.lastGesture, 0);
    EXPECT_EQ(d.part.gestureTimer, 60);
    EXPECT_FALSE(d.part.stroking);
    EXPECT_FALSE(d.textShowing());

    // Neither a step nor a new stroke while the player blinks.
    d.arrow(0);
    d.frames(59);
    d.arrow(0);
    d.moveMouse({100, 100});
    d.press();
    EXPECT_FALSE(d.part.stroking);
    EXPECT_EQ(d.at(5, 4), player);
    EXPECT_FALSE(d.textShowing());

    d.frame();
    EXPECT_EQ(d.part.gestureTimer, 0);
    EXPECT_LE(sound->backgroundVolume, 0.1f);
    d.arrow(0);
    EXPECT_EQ(d.at(4, 4), player);
    EXPECT_EQ(d.at(5, 4), floorIcon);
    // The pointing holds for further steps the same way, up to the wall.
    d.arrow(0);
    d.arrow(0);
    d.arrow(0);
    d.arrow(0);
    EXPECT_EQ(d.at(1, 4), player);
    EXPECT_EQ(d.part.playerRow, 1);
    EXPECT_FALSE(d.textShowing());
    EXPECT_EQ(d.ended, 0);
}

TEST(SceneRules, RefusalsSayTheirFirstTextOnceAndCancelAnyPointing) {
    SceneDriver d(0);
    layOutRoom(d, 4, 4);
    switchOnRefusals(d, 4);

    d.arrow(2);
    EXPECT_TRUE(d.part.remarkShowing);
    EXPECT_EQ(d.part.shownText, "first 2");
    EXPECT_TRUE(d.part.inConversation);
    EXPECT_EQ(d.at(4, 4), player);
    // Nothing moves while the remark shows, not even a properly pointed step.
    d.arrow(0);
    EXPECT_EQ(d.part.shownText, "first 2");
    d.space();
    EXPECT_FALSE(d.textShowing());
    d.arrow(2);
    EXPECT_EQ(d.part.shownText, "again 2");
    d.space();

    // A refusal to the left forgets the pointing up.
    d.gesture(0);
    d.arrow(2);
    EXPECT_EQ(d.part.shownText, "again 2");
    EXPECT_EQ(d.part.lastGesture, -1);
    d.space();
    d.arrow(0);
    EXPECT_EQ(d.part.shownText, "first 0");
    EXPECT_EQ(d.at(4, 4), player);

    // Without refusal texts the keys walk freely.
    SceneDriver free(0);
    layOutRoom(free, 4, 4);
    free.arrow(2);
    free.arrow(1);
    EXPECT_EQ(free.at(5, 3), player);
    EXPECT_FALSE(free.textShowing());
}

TEST(SceneRules, LeavingAConversationTakesTheUShapeAndThenAFreshPointing) {
    SceneDriver d(0);
    layOutRoom(d, 4, 4);
    switchOnRefusals(d, 5);
    d.part.inConversation = true;

    d.gesture(3);
    d.arrow(3);
    EXPECT_EQ(d.part.shownText, "first 4");
    d.space();
    // The refusal took the pointing away: now the direction's own refusal comes first.
    d.arrow(3);
    EXPECT_EQ(d.part.shownText, "first 3");
    d.space();
    d.gesture(3);
    d.arrow(3);
    EXPECT_EQ(d.part.shownText, "again 4");
    d.space();

    d.gesture(4);
    EXPECT_FALSE(d.part.inConversation);
    EXPECT_EQ(d.part.lastGesture, 4);
    d.arrow(3);
    EXPECT_EQ(d.part.shownText, "again 3");
    EXPECT_TRUE(d.part.inConversation);
    d.space();
    d.gesture(4);
    d.gesture(3);
    d.arrow(3);
    EXPECT_FALSE(d.textShowing());
    EXPECT_EQ(d.at(4, 5), player);
}

TEST(SceneRules, StrokesStartOnlyWhenTheSceneAcceptsGesturesAndNothingShows) {
    SceneDriver d(0);
    layOutRoom(d, 4, 4);

    // A click without a drag is no gesture: no lock, no sound.
    d.moveMouse({300, 300});
    d.press();
    EXPECT_TRUE(d.part.stroking);
    d.frame();
    d.release();
    EXPECT_FALSE(d.part.stroking);
    EXPECT_EQ(d.part.lastGesture, -1);
    EXPECT_EQ(d.part.gestureTimer, 0);

    // A stroke that matches nothing: no lock, and the pointing is gone.
    d.gesture(3);
    d.stroke(strokeOf({6}));
    EXPECT_EQ(d.part.lastGesture, -1);
    EXPECT_EQ(d.part.gestureTimer, 0);
    EXPECT_FALSE(d.part.stroking);

    d.part.remarkShowing = true;
    d.press();
    EXPECT_FALSE(d.part.stroking);

    // The first words take no gesture, so no stroke starts.
    SceneDriver words(0);
    words.space();
    words.press();
    EXPECT_FALSE(words.part.stroking);
}

TEST(SceneRules, AReleaseWhileATextShowsLeavesTheStrokeGoing) {
    SceneDriver d(0);
    layOutRoom(d, 4, 4);
    switchOnRefusals(d, 4);

    d.moveMouse({320, 400});
    d.press();
    d.moveMouse({320, 370});
    d.frame();
    // Arrow keys still work mid-stroke; this one is refused and its text cuts in.
    d.arrow(1);
    EXPECT_TRUE(d.part.remarkShowing);
    d.release();
    EXPECT_TRUE(d.part.stroking);
    EXPECT_EQ(d.part.gestureTimer, 0);
    // The trail keeps following the mouse.
    d.moveMouse({320, 340});
    d.frame();
    EXPECT_EQ(d.part.recognizer->strokePoints.size(), 2u);

    d.space();
    d.moveMouse({320, 310});
    d.frame();
    d.release();
    EXPECT_FALSE(d.part.stroking);
    EXPECT_EQ(d.part.lastGesture, 0);
    EXPECT_EQ(d.part.gestureTimer, 60);
}

TEST(SceneRules, SalesGoToTheLeftHouseFirstAndTheFourthEndsTheScene) {
    SceneDriver d(0);
    layOutRoom(d, 3, 4);
    d.part.grid[3][3] = 17;
    d.part.grid[3][5] = 17;
    d.part.grid[2][4] = 17;
    d.part.grid[4][4] = 17;

    testing::internal::CaptureStdout();
    d.stroke(gestureStroke(5));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gesture517,17,17,17\nfromto17,20\n");
    EXPECT_EQ(d.part.lastGesture, 5);
    EXPECT_TRUE(d.part.remarkShowing);
    EXPECT_EQ(d.part.shownText, "Oh, that looks like a real bargain.  I'll take two!");
    EXPECT_EQ(d.at(3, 3), 20);
    EXPECT_EQ(d.at(3, 5), 17);
    EXPECT_EQ(d.part.salesCount, 1);

    const char* expected[] = {"Hmm...I've never bought one before, but I'll try it anyway.",
                              "Oh, I've been looking for mascara like this all my life!",
                              "Oh, that looks like a real bargain.  I'll take two!"};
    for (const char* line : expected) {
        d.space();
        testing::internal::CaptureStdout();
        d.stroke(gestureStroke(5));
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(d.part.shownText, line);
    }
    EXPECT_EQ(d.part.salesCount, 4);
    EXPECT_EQ(d.count(17), 0);
    EXPECT_EQ(d.count(20), 4);
    EXPECT_TRUE(d.part.sceneDone);

    // The scene ends at the first frame after the last customer has been heard out.
    EXPECT_EQ(d.frame(), 0);
    EXPECT_EQ(d.space(), 0);
    EXPECT_EQ(d.counter, 0);
    EXPECT_EQ(d.frame(), 1);
    EXPECT_EQ(d.counter, 1);
    EXPECT_FALSE(d.part.lineShowing);

    // With no house next door the Z only writes its mark.
    SceneDriver empty(0);
    layOutRoom(empty, 3, 4);
    testing::internal::CaptureStdout();
    empty.stroke(gestureStroke(5));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gesture5");
    EXPECT_FALSE(empty.textShowing());
    EXPECT_EQ(empty.part.salesCount, 0);
}

TEST(SceneRules, ThePropositionWinsTheStrangerAndOffendsTheFriend) {
    const std::string stranger = "Come on; let's go back to my place, yeah?";
    const std::string friendLine =
        "What...what are you trying to do?  Cut it out, man; that's not cool.";

    SceneDriver d(0);
    layOutRoom(d, 3, 4);
    d.part.grid[3][5] = 12;
    d.stroke(gestureStroke(6));
    EXPECT_EQ(d.part.lastGesture, 6);
    EXPECT_EQ(d.part.shownText, friendLine);
    EXPECT_FALSE(d.part.sceneDone);
    d.space();
    EXPECT_EQ(d.frame(), 0);

    d.part.grid[2][4] = 13;
    d.frames(60);
    d.stroke(gestureStroke(6));
    // Both people next door: the friend's protest shows, and the scene ends all the same.
    EXPECT_EQ(d.part.shownText, friendLine);
    EXPECT_TRUE(d.part.sceneDone);

    SceneDriver alone(3);
    layOutRoom(alone, 3, 4);
    alone.part.grid[4][4] = 13;
    alone.stroke(gestureStroke(6));
    EXPECT_EQ(alone.part.shownText, stranger);
    EXPECT_EQ(alone.frame(), 0);
    EXPECT_EQ(alone.space(), 0);
    EXPECT_EQ(alone.frame(), 1);
    EXPECT_EQ(alone.counter, 4);
}

TEST(SceneRules, DismissingAnyTextAppliesTheCurrentLinesChange) {
    SceneDriver d(0);
    layOutRoom(d, 4, 4);
    switchOnRefusals(d, 4);
    d.part.grid[2][2] = 9;
    d.part.script = {ScriptLine{"the table", 1, 9, floorIcon, 16}, ScriptLine{"next", 0, 0, -1, 0}};

    // A remark dismissed early changes the board although the line is still waiting.
    d.arrow(2);
    d.space();
    EXPECT_EQ(d.count(floorIcon), 0);
    EXPECT_EQ(d.count(16), 6 * 8 - 2);
    EXPECT_EQ(d.part.lineIndex, 0);
    EXPECT_FALSE(d.part.lineShowing);

    // Walking against the table opens the line; the same change comes again on dismissal.
    d.part.grid[4][3] = 9;
    d.arrow(2);
    EXPECT_TRUE(d.part.lineShowing);
    EXPECT_EQ(d.part.shownText, "the table");
    EXPECT_TRUE(d.part.inConversation);
    d.space();
    EXPECT_EQ(d.part.lineIndex, 1);
    EXPECT_EQ(d.part.shownText, "next");
    EXPECT_EQ(d.space(), 1);
    EXPECT_EQ(d.counter, 1);
}

TEST(SceneRules, SpaceEscapeAndCloseInEveryState) {
    SceneDriver d(0);
    layOutRoom(d, 4, 4);

    // Space with nothing showing keeps the pointing and the lock.
    d.stroke(gestureStroke(3));
    EXPECT_EQ(d.space(), 0);
    EXPECT_EQ(d.part.lastGesture, 3);
    EXPECT_EQ(d.part.gestureTimer, 60);
    EXPECT_EQ(d.part.lineIndex, 0);

    EXPECT_EQ(d.key(SDLK_ESCAPE), 3);
    d.part.lineShowing = true;
    EXPECT_EQ(d.key(SDLK_ESCAPE), 3);
    d.part.lineShowing = false;
    d.part.remarkShowing = true;
    EXPECT_EQ(d.key(SDLK_ESCAPE), 3);
    d.part.remarkShowing = false;
    d.frames(60);
    d.press();
    EXPECT_EQ(d.key(SDLK_ESCAPE), 3);
    EXPECT_EQ(d.counter, 0);

    SDL_Event close{};
    close.type = SDL_QUIT;
    EXPECT_EQ(d.send(close), -1);
    d.part.lineShowing = true;
    EXPECT_EQ(d.send(close), -1);
    // Other keys change nothing.
    EXPECT_EQ(d.key(SDLK_a), 0);
}

TEST(SceneRules, TheBoardEdgeIsSolidAndMatchesNothing) {
    SceneDriver d(0);
    layOutRoom(d, 4, 4);
    // Two players: the one in the higher column wins, and within it the lower row.
    d.part.grid[2][6] = player;
    d.part.grid[5][6] = 3;
    d.part.findPlayer();
    EXPECT_EQ(d.part.playerColumn, 6);
    EXPECT_EQ(d.part.playerRow, 5);
    EXPECT_EQ(d.part.neighbour(4), -1);
    EXPECT_EQ(d.part.neighbour(3), floorIcon);

    // A player on the very edge: nothing beyond it walks, triggers or counts as next to him.
    layOutRoom(d, 4, 4);
    d.part.grid[4][4] = floorIcon;
    d.part.grid[0][9] = player;
    d.part.script = {ScriptLine{"edge", 1, MainPart::outsideCell, -1, 0}};
    EXPECT_EQ(d.part.neighbour(0), MainPart::outsideCell);
    EXPECT_EQ(d.part.neighbour(3), MainPart::outsideCell);
    EXPECT_FALSE(d.part.isNextTo(MainPart::outsideCell));
    d.arrow(0);
    d.arrow(3);
    EXPECT_EQ(d.at(0, 9), player);
    EXPECT_FALSE(d.textShowing());
    testing::internal::CaptureStdout();
    d.part.replaceNeighbour(MainPart::outsideCell, 17);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "27,-2,-2,27\nfromto-2,17\n");
    EXPECT_EQ(d.count(17), 0);

    // With no player at all the last position stays.
    for (auto& row : d.part.grid)
        for (int& cell : row)
            cell = 32;
    d.part.findPlayer();
    EXPECT_EQ(d.part.playerRow, 0);
    EXPECT_EQ(d.part.playerColumn, 9);
}

TEST(SceneSetUp, StartsEachSceneAfreshAndTakesAStrayCounterAsTheFirstScene) {
    SceneDriver d(2);
    d.part.salesCount = 3;
    d.part.lastGesture = 2;
    d.part.gestureTimer = 20;
    d.part.sceneDone = true;
    d.part.stroking = true;
    d.part.remarkShowing = true;
    for (MoveRefusal& r : d.part.refusals)
        r.said = true;
    d.part.setUp();
    EXPECT_EQ(d.part.salesCount, 0);
    EXPECT_EQ(d.part.lastGesture, -1);
    EXPECT_EQ(d.part.gestureTimer, 0);
    EXPECT_FALSE(d.part.sceneDone || d.part.stroking || d.part.remarkShowing);
    for (const MoveRefusal& r : d.part.refusals)
        EXPECT_FALSE(r.said);
    EXPECT_EQ(d.part.lineIndex, 0);
    const size_t lines = d.part.script.size();
    d.part.setUp();
    EXPECT_EQ(d.part.script.size(), lines);

    for (int stray : {-1, 6, 99}) {
        SceneDriver s(stray);
        EXPECT_EQ(s.counter, stray);
        for (int r = 0; r < MainPart::rows; ++r)
            for (int c = 0; c < MainPart::columns; ++c)
                EXPECT_EQ(s.at(r, c), MainPart::sceneGrids[0][r][c]);
        EXPECT_TRUE(s.part.recognizer->templates.empty());
    }
}
