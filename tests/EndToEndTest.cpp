// The real game under X, driven by real key presses and window-close requests.
#include <signal.h>

#include <gtest/gtest.h>

#include "tests/GameProcess.h"
#include "tests/TestSupport.h"

namespace {
void expectCleanExit(GameProcess& game, int timeoutMs) {
    ASSERT_TRUE(game.waitForExit(timeoutMs)) << "the game did not end; output:\n" << game.output();
    EXPECT_EQ(game.exitCode, 0);
    std::vector<std::string> lines = game.outputLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Exited cleanly");
}
} // namespace

// Mend: without a window there is no game, and the player is told why.
TEST(EndToEnd, WithoutADisplayTheGameSaysSoAndEnds) {
    GameProcess game({{"DISPLAY", ":199"}, {"WAYLAND_DISPLAY", ""}});
    ASSERT_TRUE(game.waitForExit(10000));
    EXPECT_EQ(game.exitCode, 1);
    std::vector<std::string> lines = game.outputLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("Video initialization failed: ", 0), 0u) << lines.back();
    EXPECT_EQ(game.output().find("Exited cleanly"), std::string::npos);
}

TEST(EndToEnd, SkippingTheIntroAndQuittingFromTheTitle) {
    REQUIRE_DISPLAY();
    GameProcess game;
    sleepMs(1500);
    ASSERT_TRUE(game.running()) << game.output();
    ASSERT_TRUE(xdotool("key space"));
    // Keys are dropped while the title fades in, so press Escape until one is taken.
    for (int attempt = 0; attempt < 20 && game.running(); ++attempt) {
        sleepMs(500);
        xdotool("key Escape");
    }
    expectCleanExit(game, 5000);
}

TEST(EndToEnd, ClosingTheWindowDuringTheIntroEndsTheGame) {
    REQUIRE_DISPLAY();
    GameProcess game;
    sleepMs(1500);
    ASSERT_TRUE(game.running()) << game.output();
    game.sendSignal(SIGTERM); // SDL turns it into a window-close request
    expectCleanExit(game, 5000);
}

// Mend: a close request during the dissolve or the next part's fade-in is never lost.
TEST(EndToEnd, ClosingTheWindowBetweenPartsEndsTheGame) {
    REQUIRE_DISPLAY();
    for (int delay : {60, 700}) {
        GameProcess game;
        sleepMs(1500);
        ASSERT_TRUE(game.running()) << game.output();
        ASSERT_TRUE(xdotool("key space"));
        sleepMs(delay);
        game.sendSignal(SIGTERM);
        SCOPED_TRACE("close request " + std::to_string(delay) + " ms after leaving the intro");
        expectCleanExit(game, 5000);
    }
}
