// The scene part's frame on a real window, compared with what the icon sheet and the box draw
// alone: the board, the message box, the pointer and the blinking gesture.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "graphics/FontSet.h"
#include "graphics/IconSheet.h"
#include "graphics/Video.h"
#include "tests/MainPartDriver.h"

namespace {
// The board as the icon sheet draws it alone, tile by tile, on black.
void drawBoard(const MainPart& part) {
    // Other parts may leave additive blending behind; compare opaque drawings.
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    for (int c = 0; c < MainPart::columns; ++c)
        for (int r = 0; r < MainPart::rows; ++r)
            part.video->icons->drawIcon(64 * c, 64 * r, part.grid[r][c]);
}

std::vector<Rgb> frameOf(MainPart& part) {
    part.draw();
    return readWindow();
}
} // namespace

TEST(SceneDrawing, EachSceneShowsItsBoardTheBoxOnlyWithATextAndThePointerOnTheMouse) {
    REQUIRE_DISPLAY();
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        SceneDriver d(scene);
        d.moveMouse(300, 250);
        // Nothing showing (the first line stays in shownText), then a line, then a remark.
        for (int flag = 0; flag < 3; ++flag) {
            d.part.lineShowing = flag == 1;
            d.part.remarkShowing = flag == 2;
            drawBoard(d.part);
            if (flag > 0) {
                d.part.video->drawBox(179, 4, 525, 100);
                d.part.video->font->drawWrappedText(185, 11, 20, d.part.shownText.c_str());
            }
            // Only scenes that take gestures show the pointer, with its tip on the mouse.
            if (scene != 0 && scene != 5)
                d.part.video->icons->drawIcon(300 - 9, 250 - 10, 6);
            const std::vector<Rgb> expected = readWindow();
            ASSERT_TRUE(scene == 5 ||
                        std::count(expected.begin(), expected.end(), Rgb{}) < 640 * 480)
                << "the icon sheet draws nothing";
            EXPECT_TRUE(frameOf(d.part) == expected) << "scene " << scene << " flag " << flag;
        }
    }
}

TEST(SceneDrawing, PlayerCellsBlinkWithTheGestureIconInStepsOfTenFrames) {
    REQUIRE_DISPLAY();
    SceneDriver d(4);
    d.part.lineShowing = false;
    d.moveMouse(-100, -100);
    d.part.grid[3][5] = 0; // every player form blinks, not only the player's own cell
    d.part.lastGesture = 5;
    // The first seven show the Z's legend icon in the player cells, the others the player.
    const int timers[14] = {60, 49, 40, 29, 20, 9, 1, 59, 50, 39, 30, 19, 10, 0};
    for (int i = 0; i < 14; ++i) {
        drawBoard(d.part);
        if (i < 7) {
            d.part.video->icons->drawIcon(3 * 64, 5 * 64, 38);
            d.part.video->icons->drawIcon(5 * 64, 3 * 64, 38);
        }
        const std::vector<Rgb> expected = readWindow();
        d.part.gestureTimer = timers[i];
        EXPECT_TRUE(frameOf(d.part) == expected) << timers[i];
    }
}
