// The stroke's trail as the window shows it. (The board, the blink, the box and the pointer are
// checked at every step of the end-to-end replay.)
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/GameEngine.h"
#include "parts/MainPart.h"
#include "tests/TestSupport.h"

TEST(SceneDrawing, TheTrailJoinsTheSamplesWhileTheStrokeIsHeldAndGoesWithTheRelease) {
    int scene = 1;
    MainPart part(testEngine(), &scene);
    part.lineShowing = false;
    SDL_Event press{}, release{};
    press.button = {SDL_MOUSEBUTTONDOWN, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 0, 0};
    release.button = {SDL_MOUSEBUTTONUP, 0, SDL_BUTTON_LEFT, SDL_RELEASED, 0, 0};
    // Down the void at the right edge, from a press above the first sample.
    part.mouseX = 600, part.mouseY = 60;
    part.handleEvent(&press);
    const int samples[][2] = {{600, 120}, {600, 200}, {630, 260}, {580, 330}};
    for (const auto& s : samples) {
        part.mouseX = s[0], part.mouseY = s[1];
        part.update();
    }
    part.mouseX = 100, part.mouseY = 420; // the pointer out of the way
    auto lit = [](const Picture& w, double x, double y) {
        int most = 0;
        for (int i = 0; i < 9; ++i)
            most = std::max(most, int(w.at(int(x) + i % 3 - 1, int(y) + i / 3 - 1).r));
        return most > 200;
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
        part.handleEvent(&release);
    }
}
