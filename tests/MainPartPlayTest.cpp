// Each scene played from its set-up to its end the way a player would: arrow keys, Space and
// strokes drawn frame by frame, through handleEvent and update alone.
#include <gtest/gtest.h>

#include "tests/MainPartDriver.h"

namespace {
enum { up, down, left, right };
const int uShape = 4, zShape = 5, proposition = 6;

// The first words: the mother names herself, the table, the walls, the floor and the boy.
void playFirstWords(SceneDriver& d) {
    ASSERT_TRUE(d.part.lineShowing);
    EXPECT_TRUE(d.part.recognizer->templates.empty());
    d.space();
    d.arrow(up);
    d.arrow(up);
    d.arrow(left);
    d.arrow(up); // against the mother
    ASSERT_TRUE(d.part.lineShowing);
    d.space();
    EXPECT_EQ(d.at(2, 5), 10);
    d.space();
    d.arrow(left);
    d.arrow(left); // against the table
    ASSERT_TRUE(d.part.lineShowing);
    d.space();
    EXPECT_EQ(d.at(3, 3), 9);
    d.space();
    d.arrow(up);
    d.arrow(up); // against the wall
    ASSERT_TRUE(d.part.lineShowing);
    d.space();
    EXPECT_EQ(d.count(19), 0);
    EXPECT_EQ(d.count(27), 22);
    d.space();
    EXPECT_EQ(d.count(16), 0);
    EXPECT_EQ(d.count(24), 17);
    d.space();
    EXPECT_EQ(d.at(2, 4), 8);
    EXPECT_EQ(d.ended, 0);
    d.space();
}

// The pointing lesson: point up to walk to the mother, then down and left to the table.
void playPointingLesson(SceneDriver& d) {
    d.spaces(8);
    ASSERT_FALSE(d.textShowing());
    d.walk(up, 2);
    d.arrow(up); // against the mother
    ASSERT_TRUE(d.part.lineShowing);
    d.spaces(2);
    d.walk(down, 2);
    d.walk(left, 1);
    d.arrow(left); // against the table
    ASSERT_TRUE(d.part.lineShowing);
    EXPECT_EQ(d.ended, 0);
    d.space();
}

// The conversation lesson: end the talk with the U-shape, then point the way to the table.
void playConversationLesson(SceneDriver& d) {
    d.spaces(10);
    ASSERT_FALSE(d.textShowing());
    ASSERT_TRUE(d.part.inConversation);
    d.gesture(uShape);
    d.walk(down, 2);
    d.walk(left, 3);
    ASSERT_FALSE(d.textShowing());
    d.arrow(left); // against the table
    ASSERT_TRUE(d.part.lineShowing);
    EXPECT_EQ(d.ended, 0);
    d.space();
}

// The friend: greet him, go round the wall to the stranger and make the proposition.
void playFriend(SceneDriver& d) {
    d.space();
    d.gesture(uShape);
    d.walk(down, 1);
    d.arrow(right); // against the friend
    ASSERT_TRUE(d.part.lineShowing);
    d.spaces(4);
    ASSERT_FALSE(d.textShowing());
    d.gesture(uShape);
    d.walk(down, 1);
    d.walk(right, 4);
    d.walk(up, 1);
    ASSERT_FALSE(d.textShowing());
    d.arrow(up); // against the stranger
    ASSERT_TRUE(d.part.lineShowing);
    d.spaces(2);
    // The script now rests on a line that never opens.
    EXPECT_FALSE(d.textShowing());
    EXPECT_EQ(d.space(), 0);
    EXPECT_EQ(d.part.lineIndex, 7);

    d.stroke(gestureStroke(proposition));
    EXPECT_TRUE(d.part.remarkShowing);
    EXPECT_EQ(d.part.shownText, "Come on; let's go back to my place, yeah?");
    EXPECT_EQ(d.frame(), 0);
    d.space();
    d.frame();
}

// The sales job: hear the boss out, then sell to the four houses with the Z-shape.
void playSalesJob(SceneDriver& d) {
    d.spaces(18);
    ASSERT_FALSE(d.textShowing());
    for (int gone : {25, 26, 27, 8})
        EXPECT_EQ(d.count(gone), 0) << gone;
    EXPECT_EQ(d.count(17), 4);
    EXPECT_EQ(d.count(3), 1);

    testing::internal::CaptureStdout();
    d.arrow(up);
    d.stroke(gestureStroke(zShape)); // the house to the right
    d.space();
    d.arrow(up);
    d.arrow(up);
    d.stroke(gestureStroke(zShape)); // the house to the right
    d.space();
    d.arrow(down);
    d.arrow(right);
    d.arrow(right);
    d.arrow(right);
    d.stroke(gestureStroke(zShape)); // the house above
    d.space();
    EXPECT_EQ(d.ended, 0);
    d.stroke(gestureStroke(zShape)); // the house below
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(d.count(20), 4);
    EXPECT_TRUE(d.part.sceneDone);
    EXPECT_EQ(d.frame(), 0);
    d.space();
    d.frame();
}

// The ending: six lines over the void.
void playEnding(SceneDriver& d) {
    EXPECT_TRUE(d.part.recognizer->templates.empty());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(d.space(), 0);
    d.space();
}

using Play = void (*)(SceneDriver&);
const Play plays[6] = {playFirstWords, playPointingLesson, playConversationLesson,
                       playFriend,     playSalesJob,       playEnding};

void expectSceneEnds(int scene) {
    SceneDriver d(scene);
    plays[scene](d);
    EXPECT_EQ(d.ended, 1) << "scene " << scene;
    EXPECT_EQ(d.counter, scene + 1);
}
} // namespace

TEST(ScenePlay, FirstWords) {
    expectSceneEnds(0);
}
TEST(ScenePlay, PointingLesson) {
    expectSceneEnds(1);
}
TEST(ScenePlay, ConversationLesson) {
    expectSceneEnds(2);
}
TEST(ScenePlay, Friend) {
    expectSceneEnds(3);
}
TEST(ScenePlay, SalesJob) {
    expectSceneEnds(4);
}
TEST(ScenePlay, Ending) {
    expectSceneEnds(5);
}

TEST(ScenePlay, TheSixScenesInARowBringTheCounterToSix) {
    SceneDriver d(0);
    for (int scene = 0; scene < 6; ++scene) {
        // The engine starts the part again for each scene.
        if (scene > 0)
            d.part.setUp();
        d.ended = 0;
        plays[scene](d);
        ASSERT_EQ(d.ended, 1) << "scene " << scene;
        ASSERT_EQ(d.counter, scene + 1);
    }
    EXPECT_EQ(d.counter, 6);
}
