// The scene part's rules, played in a room of our own as the frame loop plays them: refusals,
// conversations, pointing, strokes, sales, the proposition, and what each of them sounds like.
#include <gtest/gtest.h>

#include "app/PartResult.h"
#include "sound/SoundSystem.h"
#include "tests/SceneDriver.h"
#include "tests/ScenePaths.h"
#include "tests/TestSupport.h"

namespace {
// A walled room of floor with every gesture's legend in the top wall, the boy at (row, column),
// refusals "first N" / "again N" in the first `refusing` slots and a script that waits for ever.
struct Room : SceneDriver {
    Room(int row, int column, int refusing = 0) : SceneDriver(0) {
        for (int r = 0; r < MainPart::rows; ++r)
            for (int c = 0; c < MainPart::columns; ++c)
                part.grid[r][c] = r == 0 && c >= 1 && c <= gestureCount ? Icon::firstLegend + c - 1
                                  : r % 7 && c % 9                      ? Icon::floor
                                                                        : Icon::wall;
        part.grid[row][column] = Icon::boy;
        part.registerTemplates();
        part.refusals.assign(refusalSlotCount, MoveRefusal{});
        for (int s = 0; s < refusing; ++s)
            part.refusals[s] = {"first " + std::to_string(s), "again " + std::to_string(s)};
        part.script = {onWalkingInto(Icon::nowhere, "waiting")};
        part.lineShowing = part.inConversation = false;
    }
};
} // namespace

TEST(SceneRules, RefusalsSayFirstThenRepeatAndOnlyTheUShapeEndsAConversation) {
    Room d(4, 4, leavingSlot + 1);
    // Nothing moves while a remark shows. A refusal begins a conversation: leaving it is refused
    // too, which forgets the pointing; the U-shape ends it but points nowhere.
    const char* const steps[][2] = {{"<^", "first 2"}, {".<", "again 2"},  {".R>", "first 4"},
                                    {".>", "first 3"}, {".C>", "again 3"}, {".CR>", ""}};
    for (const auto& step : steps)
        EXPECT_EQ(d.says(step[0]), step[1]) << step[0];
    EXPECT_EQ(d.part.grid[4][5], Icon::boy);
}

TEST(SceneRules, AStrokeOutlastsATextAndPointingOpensADirectionAfterTheSixtyFrameLock) {
    Room d(5, 4, 4);
    // A refusal cuts in mid-stroke; a press under it starts no stroke and a release ends none.
    d.stroke("666v");
    EXPECT_EQ(d.says(""), "first 1");
    d.stroke("6");
    EXPECT_EQ(d.part.recognizer->strokePoints.size(), 4u); // the trail still follows the mouse
    d.stroke(".666");
    EXPECT_EQ(d.part.lastGesture, pointUp);
    // Space with nothing showing keeps the pointing and the lock; no step or stroke meanwhile.
    d.run(".^59f^");
    d.press();
    EXPECT_FALSE(d.part.stroking);
    // Then the pointing holds for every step that way, until a stroke that matches nothing.
    EXPECT_EQ(d.says("f^^^"), "");
    EXPECT_EQ(d.part.grid[2][4], Icon::boy);
    d.stroke("6");
    EXPECT_EQ(d.says("^"), "first 0");
}

TEST(SceneRules, SpeechGesturesAndNothingElseMakeASound) {
    Room d(4, 4, 4);
    d.part.grid[4][3] = Icon::table;
    EXPECT_EQ(heard([&] { d.run("v"); }), "good") << "a refusal";
    EXPECT_EQ(heard([&] { d.run("."); }), "") << "its dismissal";
    EXPECT_EQ(heard([&] { d.stroke("6"); }), "") << "a stroke that matches nothing";
    EXPECT_EQ(heard([&] { d.stroke(gestureStrokes[pointLeft]); }), "bad") << "a gesture";
    d.part.script = {onWalkingInto(Icon::table, "the table"), said("and more")};
    EXPECT_EQ(heard([&] { d.run("60f<"); }), "good") << "walking into the waiting line";
    EXPECT_EQ(heard([&] { d.run("."); }), "good") << "the line after it";
    EXPECT_EQ(heard([&] { d.part.setUp(); }), "") << "the first line of a scene";
    EXPECT_TRUE(d.part.lineShowing);
}

TEST(SceneRules, TheNoiseSwellsWhileAStrokeIsDrawnAndSinksAfter) {
    Room d(4, 4);
    SoundSystem* sound = d.part.sound;
    sound->setBackgroundVolume(0.1f);
    d.press();
    const float volumes[] = {(d.run("3f"), sound->backgroundVolume),
                             (d.run("30f"), sound->backgroundVolume),
                             (d.release(), d.run("3f"), sound->backgroundVolume),
                             (d.run("30f"), sound->backgroundVolume)};
    // 0.008 a frame, up to about 0.3 and back down to about 0.1.
    const float expected[] = {0.124f, 0.308f, 0.284f, 0.1f};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(volumes[i], expected[i], 1e-5) << i;
}

TEST(SceneRules, SalesGoLeftRightUpDownAndTheFourthEndsTheScene) {
    Room d(3, 4);
    testing::internal::CaptureStdout();
    EXPECT_EQ(d.says("Z60f"), ""); // no house to sell to: nothing, but a whole output line
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gesture5\n");
    d.part.grid[3][3] = d.part.grid[3][5] = d.part.grid[2][4] = d.part.grid[4][4] =
        Icon::houseLateForm;
    testing::internal::CaptureStdout();
    std::vector<std::string> said;
    for (const char* moves : {"Z", ".Z", ".Z", ".Z"})
        said.push_back(d.says(moves));
    const std::string bargain = "Oh, that looks like a real bargain.  I'll take two!";
    EXPECT_EQ(said, (std::vector<std::string>{
                        bargain, "Hmm...I've never bought one before, but I'll try it anyway.",
                        "Oh, I've been looking for mascara like this all my life!", bargain}));
    // One house sold at a time of the several beside; replaceNeighbour ends the Z's line.
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "gesture517,17,17,17\nfromto17,20\ngesture520,17,17,17\nfromto17,20\n"
              "gesture520,20,17,17\nfromto17,20\ngesture520,20,20,17\nfromto17,20\n");
    EXPECT_EQ(d.count(Icon::soldHouse), 4);
    // The scene ends at the first frame after the last customer has been heard out.
    EXPECT_EQ((std::vector<int>{d.frame(), d.key(SDLK_SPACE), d.frame()}),
              (std::vector<int>{PartResult::goOn, PartResult::goOn, PartResult::next}));
}

TEST(SceneRules, ThePropositionOffendsTheFriendEvenBesideAWillingStranger) {
    Room d(3, 4);
    d.part.grid[3][5] = Icon::oldFriend;
    EXPECT_EQ(d.says("P"), "What...what are you trying to do?  Cut it out, man; that's not cool.");
    EXPECT_FALSE(d.part.sceneDone);
    d.part.grid[2][4] = Icon::stranger;
    EXPECT_EQ(d.says(".P"), "What...what are you trying to do?  Cut it out, man; that's not cool.");
    EXPECT_TRUE(d.part.sceneDone); // the stranger is won all the same
    d.part.grid[3][5] = Icon::floor;
    EXPECT_EQ(d.says(".P"), "Come on; let's go back to my place, yeah?");
}

TEST(SceneRules, EscapeAndTheWindowCloseWorkInEveryState) {
    // A line showing, nothing, a remark, a stroke being drawn, the blink after a gesture.
    for (int state = 0; state < 5; ++state) {
        SceneDriver d(1);
        d.run(state == 0 ? "" : state == 2 ? "8.<" : "8.");
        if (state == 3)
            d.press();
        if (state == 4)
            d.stroke(gestureStrokes[pointUp]);
        ASSERT_EQ(!d.says("").empty() || d.part.stroking || d.part.gestureTimer, state != 1);
        EXPECT_EQ(d.key(SDLK_ESCAPE), PartResult::backToTitle) << state;
        EXPECT_EQ(d.send(SDL_QUIT), PartResult::quit) << state;
    }
}
