// The parts as the window shows them: the intro frame by frame, the title's menu, and a scene's
// trail and blink (the drawing state the intro leaves, and the boards, the replay checks).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/GameEngine.h"
#include "app/PartResult.h"
#include "graphics/Screen.h"
#include "parts/IntroPart.h"
#include "parts/MainPart.h"
#include "parts/SceneLayout.h"
#include "parts/TitlePart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
// A shape by its corners in window pixels; a pixel within 1.5 of an edge counts as neither in
// nor out, so the test does not depend on how the rasteriser rounds.
struct Shape {
    std::vector<std::pair<double, double>> corners; // clockwise on screen
    int where(double x, double y) const {           // 1 in, 0 on an edge, -1 out
        double nearest = 1e9;
        for (size_t i = 0; i < corners.size(); ++i) {
            auto [x0, y0] = corners[i];
            auto [x1, y1] = corners[(i + 1) % corners.size()];
            const double across =
                ((x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)) / std::hypot(x1 - x0, y1 - y0);
            nearest = std::min(nearest, across);
        }
        return nearest > 1.5 ? 1 : nearest < -1.5 ? -1 : 0;
    }
};

bool near(int v, int grey) { // colours may round either way
    return std::abs(v - grey) <= 1;
}
} // namespace

TEST(IntroPart, ThreePhasesTheirPicturesAndTheKeysThatSkipIt) {
    int scene = 0;
    IntroPart intro(testEngine(), &scene);
    std::string phases;        // a letter per frame: rise, hold, fade
    std::vector<Picture> shot; // at rise 0.5, hold 1.02 and fade 0.52
    while (phases.size() < 200 && intro.update() == PartResult::goOn) {
        phases += intro.introHold == 0 ? 'r' : intro.introFade == 1 ? 'h' : 'f';
        intro.draw();
        const bool first = phases.size() == 1; // the noise at 0.001, then up to 0.1
        EXPECT_NEAR(intro.sound->backgroundVolume, first ? 0.001f : 0.05f, first ? 1e-9f : 0.05f);
        if (phases.size() == 25 || phases.size() == 102 || phases.size() == 139)
            shot.push_back(readWindow());
    }
    ASSERT_EQ(phases, std::string(51, 'r') + std::string(76, 'h') + std::string(25, 'f'));
    // Once risen, the left triangle points up from the bottom of the square, the right one
    // points down from its top.
    const Shape square{{{160, 120}, {480, 120}, {480, 360}, {160, 360}}};
    const Shape risen{{{320, 124.6}, {448, 340.6}, {192, 340.6}}};
    const Shape falling{{{336, 126}, {592, 126}, {464, 342}}};
    const Shape caption{{{200, 230}, {488, 230}, {488, 246}, {200, 246}}};
    // Per shot: the square's grey and sixteenths, the triangles', and the caption's grey.
    const int looks[3][5] = {{42, 2, 0, 0, 0}, {85, 5, 128, 8, 255}, {44, 2, 66, 4, 133}};
    for (int i = 0; i < 3; ++i) {
        const auto [squareGrey, squareMask, triangleGrey, triangleMask, captionGrey] = looks[i];
        int inSquare = 0, litInSquare = 0, inTriangles = 0, litInTriangles = 0, ink = 0, litInk = 0;
        for (int y = 0; y < screenHeight; ++y)
            for (int x = 0; x < screenWidth; ++x) {
                const int v = shot[i].at(x, y).r, sq = square.where(x + 0.5, y + 0.5),
                          tri = std::max(risen.where(x + 0.5, y + 0.5),
                                         falling.where(x + 0.5, y + 0.5)),
                          cap = caption.where(x + 0.5, y + 0.5);
                if (cap >= 0 && captionGrey) { // the caption is added onto the shapes
                    const bool inked = x >= 200 && x < 488 && y >= 230 && y < 246 &&
                                       glyphInk("quorlaven presents"[(x - 200) / 16],
                                                (x - 200) % 16 / 2, (y - 230) / 2);
                    ink += inked, litInk += inked && v >= captionGrey;
                    ASSERT_TRUE(inked || v < captionGrey) << i << ": " << x << "," << y;
                } else if (tri == 1 && triangleGrey) {
                    ++inTriangles, litInTriangles += near(v, triangleGrey);
                    ASSERT_TRUE(v == 0 || near(v, triangleGrey) || (sq == 1 && near(v, squareGrey)))
                        << i << ": " << x << "," << y;
                } else if (sq == 1 && tri == -1) {
                    ++inSquare, litInSquare += near(v, squareGrey);
                    ASSERT_TRUE(v == 0 || near(v, squareGrey)) << i << ": " << x << "," << y;
                } else if (sq == -1 && tri == -1) {
                    ASSERT_EQ(v, 0) << i << ": " << x << "," << y;
                }
            }
        EXPECT_NEAR(16.0 * litInSquare / inSquare, squareMask, 0.2) << i;
        EXPECT_NEAR(16.0 * litInTriangles / std::max(inTriangles, 1), triangleMask, 0.2) << i;
        EXPECT_NEAR(16.0 * litInk / std::max(ink, 1),
                    !captionGrey         ? 0
                    : captionGrey == 255 ? 16
                                         : 8,
                    0.2)
            << i;
    }
    // Escape skips it as Space does (the replay skips it so, and closes it).
    EXPECT_EQ(intro.handleEvent(keyEvent(SDLK_ESCAPE)), PartResult::next);
}

TEST(TitlePart, BeginStartsTheFirstSceneWithABigBlipAndEitherArrowMovesTheWhiteToQuit) {
    TitlePart* menu = static_cast<TitlePart*>(testEngine()->parts[1]);
    int& scene = *testEngine()->sceneIndex;
    for (int left : {6, 3}) { // after a finished game, or Escape from a scene
        scene = left;
        menu->setUp();
        int result = PartResult::goOn;
        EXPECT_EQ(heard([&] { result = menu->handleEvent(keyEvent(SDLK_SPACE)); }), "bigblip");
        EXPECT_TRUE(result == PartResult::next && scene == 0);
    }
    for (SDLKey toggle : {SDLK_UP, SDLK_DOWN}) {
        menu->setUp(); // back on "begin" though the last visit ended on "quit"
        EXPECT_EQ(heard([&] { menu->handleEvent(keyEvent(toggle)); }), "blipn");
        menu->draw(); // "quit" white, "begin" grey
        EXPECT_TRUE(showsText(readWindow(), 253, 258, "begin", 0, {128, 128, 128}) &&
                    showsText(readWindow(), 253, 299, "quit", 0, white));
        EXPECT_EQ(menu->handleEvent(keyEvent(SDLK_SPACE)), PartResult::quit);
    }
    EXPECT_EQ(menu->handleEvent(keyEvent(SDLK_UNKNOWN, SDL_QUIT)), PartResult::quit);
}

TEST(SceneDrawing, TheTrailJoinsTheSamplesWhileTheStrokeIsHeldAndGoesWithTheRelease) {
    int scene = 1;
    MainPart part(testEngine(), &scene);
    part.lineShowing = false;
    SDL_Event button{};
    button.button = {SDL_MOUSEBUTTONDOWN, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 0, 0};
    // Down the void at the right edge, from a press above the first sample.
    part.mouseX = 600, part.mouseY = 60;
    part.handleEvent(&button);
    const int samples[][2] = {{600, 120}, {600, 200}, {630, 260}, {580, 330}};
    for (const auto& s : samples) {
        part.mouseX = s[0], part.mouseY = s[1];
        part.update();
    }
    part.mouseX = 100, part.mouseY = 420;                 // the pointer out of the way
    auto lit = [](const Picture& w, double x, double y) { // in the pixels round (x, y)
        return std::max({w.at(x - 1, y).r, w.at(x, y).r, w.at(x + 1, y).r, w.at(x, y - 1).r,
                         w.at(x, y + 1).r}) > 200;
    };
    for (bool held : {true, false}) {
        glBlendFunc(GL_ONE, GL_ONE);
        part.draw();
        const Picture w = readWindow();
        for (int k = 0; k < 3; ++k)
            for (double t = 0.1; t < 0.95; t += 0.1)
                EXPECT_EQ(lit(w, samples[k][0] + t * (samples[k + 1][0] - samples[k][0]),
                              samples[k][1] + t * (samples[k + 1][1] - samples[k][1])),
                          held)
                    << "segment " << k << " at " << t;
        EXPECT_FALSE(lit(w, 600, 90)) << "the press point is not part of the trail";
        EXPECT_FALSE(lit(w, 590, 225) || lit(w, 615, 300)) << "nothing closes it or lies beside it";
        button.type = SDL_MOUSEBUTTONUP;
        part.handleEvent(&button);
    }
    // A recognised gesture blinks over the boy, from its legend icon on, every ten frames.
    part.lastGesture = pointUp;
    for (int timer : {49, 40, 39, 9, 0}) {
        part.gestureTimer = timer, part.draw();
        const int boyAt = 5 * SceneLayout::cellSize; // row 5, column 5
        EXPECT_EQ(readWindow().at(boyAt + 32, boyAt + 40) == iconPixel(Icon::boy, 32, 40),
                  timer % 20 >= 10 || !timer)
            << timer;
    }
}
