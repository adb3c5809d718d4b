// The real game under X, driven by real key presses, mouse strokes and window-close requests.
#include <signal.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/GameProcess.h"
#include "tests/TestSupport.h"

namespace {
void expectCleanExit(GameProcess& game) {
    ASSERT_TRUE(game.waitForExit(5000)) << "the game did not end";
    EXPECT_EQ(game.exitCode, 0);
    ASSERT_FALSE(game.outputLines().empty());
    EXPECT_EQ(game.outputLines().back(), "Exited cleanly");
}

// Saves to $WANDERKIN_SCREENSHOTS when set, so a person can look at the run.
Screenshot snapshot(const std::string& name) {
    const char* folder = std::getenv("WANDERKIN_SCREENSHOTS");
    Screenshot shot;
    EXPECT_TRUE(shot.take(folder ? std::string(folder) + "/" + name + ".png" : ""));
    return shot;
}

// A part has finished fading in once this black region shows no white dither.
bool waitUntilDark(int x0, int y0, int x1, int y1) {
    Screenshot shot;
    for (int waited = 0; waited < 8000; waited += 100) {
        sleepMs(100);
        if (shot.take() && !shot.anyLit(x0, y0, x1, y1))
            return true;
    }
    return false;
}

void keys(const std::string& names) {
    for (size_t start = 0; start < names.size();) {
        size_t end = std::min(names.find(' ', start), names.size());
        EXPECT_TRUE(xdotool("key " + names.substr(start, end - start)));
        sleepMs(150);
        start = end + 1;
    }
}

// A straight stroke of four 30-pixel moves, then the 60 frames the figure blinks for.
void stroke(int dx, int dy) {
    xdotool("mousedown 1");
    for (int i = 0; i < 4; ++i) {
        sleepMs(80);
        xdotool("mousemove_relative -- " + std::to_string(dx) + " " + std::to_string(dy));
    }
    sleepMs(80);
    xdotool("mouseup 1");
    sleepMs(2300);
}

bool legendShown(const Screenshot& shot, int row) {
    return shot.anyLit(72, 64 * row + 8, 120, 64 * row + 56);
}
} // namespace

// Without a window there is no game, and the player is told why.
TEST(EndToEnd, WithoutADisplayTheGameSaysSoAndEnds) {
    GameProcess game({{"DISPLAY", ":199"}, {"WAYLAND_DISPLAY", ""}});
    ASSERT_TRUE(game.waitForExit(10000));
    EXPECT_EQ(game.exitCode, 1);
    ASSERT_FALSE(game.outputLines().empty());
    EXPECT_EQ(game.outputLines().back().rfind("Video initialization failed: ", 0), 0u);
}

// A close request in the intro, in the dissolve after it, or in the title's fade-in ends the game.
TEST(EndToEnd, ClosingTheWindowEndsTheGameWhateverIsOnShow) {
    REQUIRE_DISPLAY();
    for (int delay : {-1, 60, 700}) {
        SCOPED_TRACE("close request " + std::to_string(delay) + " ms after leaving the intro");
        GameProcess game;
        sleepMs(1500);
        ASSERT_TRUE(game.running());
        if (delay >= 0) {
            keys("space");
            sleepMs(delay);
        }
        kill(game.pid, SIGTERM); // SDL turns it into a window-close request
        expectCleanExit(game);
    }
}

TEST(EndToEnd, PlaysTheFirstScenesWithRealInput) {
    REQUIRE_DISPLAY();
    xdotool("mouseup 1 mouseup 3");
    GameProcess game;
    sleepMs(1500);
    snapshot("1-intro");
    keys("space");
    ASSERT_TRUE(waitUntilDark(0, 0, 200, 150)) << "the title did not settle";
    EXPECT_TRUE(snapshot("2-title").anyLit(253, 258, 333, 274)) << "\"begin\" is shown";

    // The first words: walking needs no gesture, and there is no legend.
    keys("space");
    ASSERT_TRUE(waitUntilDark(0, 0, 64, 480)) << "scene 0 did not settle";
    Screenshot shot = snapshot("3-scene0");
    EXPECT_FALSE(legendShown(shot, 1));
    EXPECT_TRUE(shot.anyLit(185, 11, 500, 27)) << "the mother's first line is in the box";
    keys("space Up Up Up Left space space Down Left Left Left space space Up Up");
    keys("space space space space"); // walls, floor, the boy, the praise: the scene ends

    // The pointing lesson: point, wait for the blink, then walk.
    ASSERT_TRUE(waitUntilDark(0, 0, 64, 480)) << "scene 1 did not settle";
    shot = snapshot("4-scene1");
    EXPECT_TRUE(legendShown(shot, 1) && legendShown(shot, 4) && !legendShown(shot, 5));
    keys("space space space space space space space space");
    stroke(0, -30);
    keys("Up Up Up"); // two steps, then against the mother
    EXPECT_TRUE(snapshot("5-scene1-greeting").anyLit(185, 11, 500, 27)) << "her praise";
    keys("space space");
    stroke(0, 30);
    keys("Down Down");
    stroke(-30, 0);
    keys("Left Left space"); // a step, against the table, her last line

    ASSERT_TRUE(waitUntilDark(0, 0, 64, 480)) << "scene 2 did not settle";
    EXPECT_TRUE(legendShown(snapshot("6-scene2"), 5)) << "the U-shape joins the legend";
    keys("Escape");
    ASSERT_TRUE(waitUntilDark(0, 0, 200, 150)) << "the title did not come back";
    for (int attempt = 0; attempt < 10 && game.running(); ++attempt)
        keys("Escape"), sleepMs(350);
    expectCleanExit(game);
}
