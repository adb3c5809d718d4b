// The scene part's frame on a real window: tiles, the blinking gesture, the message box, the
// stroke's trail and the pointer, compared with what the icon sheet and the box draw alone.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <map>
#include <vector>

#include "graphics/FontSet.h"
#include "graphics/IconSheet.h"
#include "graphics/Video.h"
#include "tests/MainPartDriver.h"

namespace {
const Rgb black{0, 0, 0};
const Rgb white{255, 255, 255};

class SceneDrawing : public testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        video = rulesSubsystems()->video;
        ASSERT_NE(video, nullptr);
        // Other parts may leave additive blending behind; compare opaque drawings.
        glBlendFunc(GL_ONE, GL_ZERO);
        glDisable(GL_BLEND);
        // Comparisons with the sheet only mean something when its icons differ.
        ASSERT_NE(reference(24), reference(27)) << "the icon sheet draws nothing";
        ASSERT_NE(reference(6), reference(32));
    }

    std::vector<Rgb> frameOf(MainPart& part) {
        part.draw();
        return readWindow();
    }

    // Icon n drawn alone on black at the top-left corner.
    const std::vector<Rgb>& reference(int n) {
        auto found = references.find(n);
        if (found != references.end())
            return found->second;
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(1, 1, 1, 1);
        video->icons->drawIcon(0, 0, n);
        return references[n] = readWindow();
    }

    // Whether the 64 x 64 tile at (x, y), as far as it lies in the window, shows icon n.
    bool tileShows(const std::vector<Rgb>& window, int x, int y, int n) {
        const std::vector<Rgb>& icon = reference(n);
        for (int dy = 0; dy < 64; ++dy)
            for (int dx = 0; dx < 64; ++dx) {
                if (x + dx < 0 || x + dx >= 640 || y + dy < 0 || y + dy >= 480)
                    continue;
                if (!(pixelAt(window, x + dx, y + dy) == pixelAt(icon, dx, dy)))
                    return false;
            }
        return true;
    }

    // Every cell of the board shows its own icon.
    void expectBoard(const std::vector<Rgb>& window, MainPart& part) {
        for (int c = 0; c < MainPart::columns; ++c)
            for (int r = 0; r < MainPart::rows; ++r)
                EXPECT_TRUE(tileShows(window, 64 * c, 64 * r, part.grid[r][c]))
                    << "row " << r << " column " << c;
    }

    Video* video = nullptr;
    std::map<int, std::vector<Rgb>> references;
};
} // namespace

TEST_F(SceneDrawing, EveryCellShowsItsIconAndNothingElseWhenNoTextShows) {
    // Each scene's first line stays in shownText but must not show once its flag is down.
    for (int scene : {1, 2, 3, 4}) {
        SceneDriver d(scene);
        d.part.lineShowing = false;
        d.part.recognizer->reset();
        expectBoard(frameOf(d.part), d.part);
    }
}

TEST_F(SceneDrawing, PlayerCellsBlinkWithTheGestureIconInStepsOfTenFrames) {
    SceneDriver d(4);
    d.part.lineShowing = false;
    d.part.recognizer->reset();
    d.part.grid[5][3] = 3;
    d.part.grid[3][5] = 0; // every player form blinks, not only the player's own cell
    d.part.lastGesture = 5;
    for (int timer : {60, 49, 40, 29, 20, 9, 1, 59, 50, 39, 30, 19, 10, 0}) {
        d.part.gestureTimer = timer;
        const bool gestureShows = timer > 0 && (timer / 10) % 2 == 0;
        std::vector<Rgb> window = frameOf(d.part);
        EXPECT_TRUE(tileShows(window, 3 * 64, 5 * 64, gestureShows ? 38 : 3)) << timer;
        EXPECT_TRUE(tileShows(window, 5 * 64, 3 * 64, gestureShows ? 38 : 0)) << timer;
        EXPECT_TRUE(tileShows(window, 4 * 64, 5 * 64, d.part.grid[5][4])) << timer;
    }
}

TEST_F(SceneDrawing, TheBoxAndItsTextShowOnlyWithALineOrARemark) {
    SceneDriver d(0);
    ASSERT_TRUE(d.part.lineShowing);
    const std::string text = d.part.shownText;

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    video->drawBox(179, 4, 525, 100);
    video->font->drawWrappedText(185, 11, 20, text.c_str());
    const std::vector<Rgb> box = readWindow();

    for (int flag = 0; flag < 2; ++flag) {
        d.part.lineShowing = flag == 0;
        d.part.remarkShowing = flag == 1;
        std::vector<Rgb> window = frameOf(d.part);
        int textPixels = 0;
        for (int y = 6; y <= 98; ++y)
            for (int x = 181; x <= 523; ++x) {
                ASSERT_EQ(pixelAt(window, x, y), pixelAt(box, x, y)) << x << "," << y;
                textPixels += !(pixelAt(window, x, y) == black);
            }
        EXPECT_GT(textPixels, 0);
        // Below the box the board is untouched.
        for (int c = 0; c < MainPart::columns; ++c)
            for (int r = 2; r < MainPart::rows; ++r)
                EXPECT_TRUE(tileShows(window, 64 * c, 64 * r, d.part.grid[r][c]));
    }

    d.part.lineShowing = d.part.remarkShowing = false;
    expectBoard(frameOf(d.part), d.part);
}

TEST_F(SceneDrawing, TheTrailFollowsTheStrokeOnlyWhileItIsDrawn) {
    SceneDriver d(5);
    d.part.lineShowing = false;
    d.part.recognizer->strokePoints = {{100.5f, 300.5f}, {300.5f, 300.5f}, {540.5f, 300.5f}};
    d.part.stroking = true;
    std::vector<Rgb> window = frameOf(d.part);
    for (int x = 110; x <= 530; x += 10)
        EXPECT_EQ(pixelAt(window, x, 300), white) << x;
    EXPECT_EQ(pixelAt(window, 320, 310), pixelAt(reference(32), 0, 310 - 256));

    d.part.stroking = false;
    expectBoard(frameOf(d.part), d.part);
    // A single point makes no line at all.
    d.part.stroking = true;
    d.part.recognizer->strokePoints = {{300.5f, 300.5f}};
    expectBoard(frameOf(d.part), d.part);
}

TEST_F(SceneDrawing, ThePointerTipSitsOnTheMouseInScenesThatTakeGestures) {
    SceneDriver d(1);
    d.part.lineShowing = false;
    d.part.mouseX = 300;
    d.part.mouseY = 250;
    std::vector<Rgb> window = frameOf(d.part);
    EXPECT_TRUE(tileShows(window, 291, 240, 6));

    for (int scene : {0, 5}) {
        SceneDriver none(scene);
        none.part.lineShowing = false;
        none.part.mouseX = 300;
        none.part.mouseY = 250;
        expectBoard(frameOf(none.part), none.part);
    }
}
