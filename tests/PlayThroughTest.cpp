// Plays the start of the real game with real X input: the intro, the title, the first scene by
// keyboard, the pointing lesson with mouse gestures, then back to the title and out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/GameProcess.h"
#include "tests/TestSupport.h"

namespace {

// Screenshots go to this folder when it is set, so a person can look at the run.
void snapshot(Screenshot& shot, const std::string& name) {
    const char* folder = std::getenv("WANDERKIN_SCREENSHOTS");
    ASSERT_TRUE(shot.take(folder ? std::string(folder) + "/" + name + ".png" : ""));
}

bool anyPixelLit(const Screenshot& shot, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (shot.pixel(x, y) != 0)
                return true;
    return false;
}

// A part has finished fading in once its black top-left corner shows no white dither.
bool waitUntilSettled(int x0, int y0, int x1, int y1, int timeoutMs) {
    Screenshot shot;
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        sleepMs(100);
        if (shot.take() && !anyPixelLit(shot, x0, y0, x1, y1))
            return true;
    }
    return false;
}

void keys(const std::string& names, int pauseMs = 150) {
    size_t start = 0;
    while (start < names.size()) {
        size_t end = names.find(' ', start);
        if (end == std::string::npos)
            end = names.size();
        ASSERT_TRUE(xdotool("key " + names.substr(start, end - start)));
        sleepMs(pauseMs);
        start = end + 1;
    }
}

// A straight stroke of `samples` moves of 30 pixels, one per frame or so.
void stroke(int dx, int dy, int samples) {
    ASSERT_TRUE(xdotool("mousedown 1"));
    sleepMs(100);
    for (int i = 0; i < samples; ++i) {
        ASSERT_TRUE(xdotool("mousemove_relative -- " + std::to_string(dx) + " " + std::to_string(dy)));
        sleepMs(80);
    }
    ASSERT_TRUE(xdotool("mouseup 1"));
    sleepMs(2300); // the figure blinks for 60 frames before it may move
}

// Gesture legend icons stand in column 1 of the scenes that take gestures: cell (row, 1).
bool legendCellLit(const Screenshot& shot, int row) {
    return anyPixelLit(shot, 64 + 8, 64 * row + 8, 128 - 8, 64 * row + 56);
}

} // namespace

TEST(PlayThrough, FirstWordsAndThePointingLessonWithRealInput) {
    REQUIRE_DISPLAY();
    xdotool("mouseup 1 mouseup 3");
    GameProcess game;
    Screenshot shot;
    sleepMs(1500);
    ASSERT_TRUE(game.running()) << game.output();
    snapshot(shot, "1-intro");
    keys("space");
    ASSERT_TRUE(waitUntilSettled(0, 0, 200, 150, 8000)) << "the title did not settle";
    snapshot(shot, "2-title");
    EXPECT_TRUE(anyPixelLit(shot, 253, 258, 333, 274)) << "\"begin\" is shown";

    // Scene 0: the mother names the room; walking needs no gesture here.
    keys("space");
    ASSERT_TRUE(waitUntilSettled(0, 0, 64, 480, 8000)) << "scene 0 did not settle";
    snapshot(shot, "3-scene0");
    EXPECT_FALSE(legendCellLit(shot, 1)) << "the first scene has no gesture legend";
    EXPECT_TRUE(anyPixelLit(shot, 185, 11, 500, 27)) << "the mother's first line is in the box";
    keys("space Up Up Up Left");     // to the mother
    keys("space space Down Left Left Left"); // her name, then to the table
    keys("space space Up Up");       // the table's name, then against a wall
    keys("space space space space"); // walls, floor, the boy, the praise: the scene ends

    // Scene 1: the pointing lesson, with the legend of four arrows.
    ASSERT_TRUE(waitUntilSettled(0, 0, 64, 480, 8000)) << "scene 1 did not settle";
    snapshot(shot, "4-scene1");
    for (int row = 1; row <= 4; ++row)
        EXPECT_TRUE(legendCellLit(shot, row)) << "legend row " << row;
    EXPECT_FALSE(legendCellLit(shot, 5));
    keys("space space space space space space space space"); // the mother's lesson, lines 0 to 7
    stroke(0, -30, 4);                                        // point up
    keys("Up Up Up");                                         // two steps, then against her
    snapshot(shot, "5-scene1-greeting");
    EXPECT_TRUE(anyPixelLit(shot, 185, 11, 500, 27)) << "her praise is in the box";
    keys("space space"); // praise, then "walk to the table"
    stroke(0, 30, 4);    // point down
    keys("Down Down");
    stroke(-30, 0, 4); // point left
    keys("Left Left"); // one step, then against the table
    keys("space");     // her last line: the scene ends

    // Scene 2 has the U-shape in its legend as well.
    ASSERT_TRUE(waitUntilSettled(0, 0, 64, 480, 8000)) << "scene 2 did not settle";
    snapshot(shot, "6-scene2");
    EXPECT_TRUE(legendCellLit(shot, 5)) << "the U-shape joins the legend in the next scene";

    keys("Escape");
    ASSERT_TRUE(waitUntilSettled(0, 0, 200, 150, 8000)) << "the title did not come back";
    for (int attempt = 0; attempt < 10 && game.running(); ++attempt) {
        keys("Escape", 500);
    }
    ASSERT_TRUE(game.waitForExit(5000)) << game.output();
    EXPECT_EQ(game.exitCode, 0);
    ASSERT_FALSE(game.outputLines().empty());
    EXPECT_EQ(game.outputLines().back(), "Exited cleanly");
}
