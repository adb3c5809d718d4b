// The real game under X, driven by real key presses, mouse strokes and window-close requests.
#include <signal.h>

#include <gtest/gtest.h>

#include <fstream>

#include "tests/GameProcess.h"
#include "tests/TestSupport.h"

namespace {
void expectCleanExit(GameProcess& game) {
    ASSERT_TRUE(game.waitForExit(5000)) << "the game did not end";
    EXPECT_EQ(game.exitCode, 0);
    EXPECT_EQ(game.outputLines(), std::vector<std::string>{"Exited cleanly"});
}

// A part has finished fading in once this black region shows no white dither; the last two
// fade frames use the empty mask and still drop keys, so wait those out too.
bool waitUntilDark(int x0, int y0, int x1, int y1) {
    for (int waited = 0; waited < 8000; waited += 100)
        if (sleepMs(100), !screenLit(x0, y0, x1, y1))
            return sleepMs(200), true;
    return false;
}

void keys(const std::string& names) {
    for (size_t start = 0; start < names.size(); sleepMs(150)) {
        size_t end = std::min(names.find(' ', start), names.size());
        EXPECT_TRUE(xdotool("key " + names.substr(start, end - start)));
        start = end + 1;
    }
}

// A straight stroke of four 30-pixel moves, then the 60 frames the figure blinks for.
void stroke(const std::string& move) {
    xdotool("mousedown 1");
    for (int i = 0; i < 4; ++i)
        sleepMs(80), xdotool("mousemove_relative -- " + move);
    sleepMs(80), xdotool("mouseup 1"), sleepMs(2300);
}

// Whether the process is holding back close requests: it has started and its window is not up.
bool holdsCloseRequests(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigBlk:", 0) == 0)
            return std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1) & 1;
    return false;
}

bool legendShown(int row, const std::string& name = "") {
    return screenLit(72, 64 * row + 8, 120, 64 * row + 56, name);
}
} // namespace

// Without a window there is no game, and the player is told why.
TEST(EndToEnd, WithoutADisplayTheGameSaysSoAndEnds) {
    GameProcess game({"DISPLAY=:199", "WAYLAND_DISPLAY"});
    ASSERT_TRUE(game.waitForExit(10000));
    EXPECT_EQ(game.exitCode, 1);
    ASSERT_EQ(game.outputLines().size(), 1u);
    EXPECT_EQ(game.outputLines()[0].rfind("Video initialization failed: ", 0), 0u);
}

// A close request in the intro, the dissolve after it or the title's fade-in ends the game.
TEST(EndToEnd, ClosingTheWindowEndsTheGameWhateverIsOnShow) {
    REQUIRE_DISPLAY();
    for (int delay : {-1, 60, 700}) {
        SCOPED_TRACE("close request " + std::to_string(delay) + " ms after leaving the intro");
        GameProcess game;
        sleepMs(1500);
        ASSERT_TRUE(game.running());
        if (delay >= 0)
            keys("space"), sleepMs(delay);
        kill(game.pid, SIGTERM); // SDL turns it into a window-close request
        expectCleanExit(game);
    }
}

// A close request while the game is still starting, before its window can hear one, is kept
// for the window instead of killing the game.
TEST(EndToEnd, ClosingWhileTheGameStartsEndsItCleanly) {
    REQUIRE_DISPLAY();
    GameProcess game;
    for (int waited = 0; !holdsCloseRequests(game.pid) && waited < 10000; ++waited)
        sleepMs(1);
    ASSERT_TRUE(holdsCloseRequests(game.pid)) << "the game never got as far as holding requests";
    kill(game.pid, SIGTERM);
    expectCleanExit(game);
}

TEST(EndToEnd, PlaysTheFirstScenesWithRealInput) {
    REQUIRE_DISPLAY();
    xdotool("mouseup 1 mouseup 3");
    GameProcess game;
    sleepMs(1500);
    keys("space");
    ASSERT_TRUE(waitUntilDark(0, 0, 200, 150)) << "the title did not settle";
    EXPECT_TRUE(screenLit(253, 258, 333, 274, "2-title")) << "\"begin\" is shown";

    // The first words: walking needs no gesture, and there is no legend.
    keys("space");
    ASSERT_TRUE(waitUntilDark(0, 0, 64, 480)) << "scene 0 did not settle";
    EXPECT_TRUE(screenLit(185, 11, 500, 27, "3-scene0")) << "the mother's first line";
    EXPECT_FALSE(legendShown(1));
    keys("space Up Up Up Left space space Down Left Left Left space space Up Up");
    keys("space space space space"); // walls, floor, the boy, the praise: the scene ends

    // The pointing lesson: point, wait for the blink, then walk.
    ASSERT_TRUE(waitUntilDark(0, 0, 64, 480)) << "scene 1 did not settle";
    EXPECT_TRUE(legendShown(1, "4-scene1") && legendShown(4) && !legendShown(5));
    keys("space space space space space space space space");
    stroke("0 -30");
    keys("Up Up Up"); // two steps, then against the mother
    EXPECT_TRUE(screenLit(185, 11, 500, 27, "5-scene1-greeting")) << "her praise";
    keys("space space");
    stroke("0 30");
    keys("Down Down");
    stroke("-30 0");
    keys("Left Left space"); // a step, against the table, her last line

    ASSERT_TRUE(waitUntilDark(0, 0, 64, 480)) << "scene 2 did not settle";
    EXPECT_TRUE(legendShown(5, "6-scene2")) << "the U-shape joins the legend";
    keys("Escape");
    ASSERT_TRUE(waitUntilDark(0, 0, 200, 150)) << "the title did not come back";
    for (int attempt = 0; attempt < 20 && game.running(); ++attempt)
        keys("Escape"); // the last frames of the fade-in still drop keys
    expectCleanExit(game);
}
