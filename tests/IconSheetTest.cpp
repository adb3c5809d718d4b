// Icons on screen: the tool's cells come out upright where the game draws them, clipping at
// the window edge, and sheets that are missing or not 24-bit.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/IconSheet.h"
#include "graphics/Video.h"
#include "tests/SheetTestSupport.h"

namespace {
const Rgb black{0, 0, 0}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};

void freshFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The test picture: red top-left, green top-right, blue bottom-left, white bottom-right.
Rgb quadrant(int u, int v) {
    return v < 32 ? (u < 32 ? red : green) : (u < 32 ? blue : white);
}

std::string quadrantSource(int scale) {
    const int side = 64 / scale;
    std::string text = "scale " + std::to_string(scale) + "\n";
    for (int v = 0; v < side; ++v) {
        for (int u = 0; u < side; ++u) {
            Rgb c = quadrant(u * scale, v * scale);
            text += c == red ? 'R' : c == green ? 'G' : c == blue ? 'B' : 'W';
        }
        text += '\n';
    }
    return text;
}

::testing::AssertionResult showsQuadrants(const std::vector<Rgb>& window, int x, int y,
                                          int rows = 64) {
    for (int v = 0; v < rows; ++v)
        for (int u = 0; u < 64; ++u)
            if (!(pixelAt(window, x + u, y + v) == quadrant(u, v)))
                return ::testing::AssertionFailure() << "icon pixel (" << u << ", " << v << ")";
    return ::testing::AssertionSuccess();
}

// A sheet built by the asset tool with the quadrant picture in icons 0 (scale 4), 13 (scale 2)
// and 63 (scale 1), loaded the way the game loads its sheet.
IconSheet* quadrantSheet() {
    static IconSheet* sheet = nullptr;
    if (!sheet) {
        const std::string assets = scratchAssets({{"palette.txt", "R ff0000\nG 00ff00\n"
                                                                  "B 0000ff\nW ffffff\n"},
                                                  {"00.txt", quadrantSource(4)},
                                                  {"13.txt", quadrantSource(2)},
                                                  {"63.txt", quadrantSource(1)}});
        const std::string out = makeScratchDir();
        std::string output;
        runAssetTool(assets, out, output);
        sheet = new IconSheet((out + "/textures/icons.bmp").c_str());
    }
    return sheet;
}

int litPixels(const std::vector<Rgb>& window, int fromRow, int toRow) {
    int lit = 0;
    for (int y = fromRow; y < toRow; ++y)
        for (int x = 0; x < 640; ++x)
            lit += !(pixelAt(window, x, y) == black);
    return lit;
}
} // namespace

TEST(IconSheet, ToolCellsAppearUprightWhereTheGameDrawsThem) {
    REQUIRE_DISPLAY();
    testSubsystems();
    IconSheet* sheet = quadrantSheet();
    ASSERT_NE(sheet->iconTexture, 0u);
    freshFrame();
    sheet->drawIcon(100, 50, 0);
    sheet->drawIcon(300, 50, 13);
    sheet->drawIcon(500, 50, 63);
    sheet->drawIcon(100, 200, 1);
    std::vector<Rgb> window = readWindow();
    EXPECT_TRUE(showsQuadrants(window, 100, 50)) << "icon 0";
    EXPECT_TRUE(showsQuadrants(window, 300, 50)) << "icon 13";
    EXPECT_TRUE(showsQuadrants(window, 500, 50)) << "icon 63";
    EXPECT_EQ(litPixels(window, 114, 480), 0) << "icon 1 has no picture; nothing else drawn";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST(IconSheet, TheLowestGridRowIsClippedToItsUpperHalf) {
    REQUIRE_DISPLAY();
    testSubsystems();
    IconSheet* sheet = quadrantSheet();
    freshFrame();
    sheet->drawIcon(576, 448, 0);
    std::vector<Rgb> window = readWindow();
    EXPECT_TRUE(showsQuadrants(window, 576, 448, 32));
    EXPECT_EQ(litPixels(window, 0, 448), 0) << "nothing wraps round to the top";
    // Reaching past the right edge clips too.
    freshFrame();
    sheet->drawIcon(608, 0, 0);
    window = readWindow();
    EXPECT_EQ(pixelAt(window, 639, 0), red);
    EXPECT_EQ(pixelAt(window, 608, 63), blue);
    EXPECT_EQ(pixelAt(window, 0, 0), black);
}

TEST(IconSheet, SheetsThatAreNotTwentyFourBitAreConvertedBeforeUpload) {
    REQUIRE_DISPLAY();
    testSubsystems();
    const std::string dir = makeScratchDir();
    struct Layout {
        int bits;
        Uint32 r, g, b, a;
    } layouts[] = {{8, 0, 0, 0, 0},
                   {32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000},
                   {24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0}}; // the last one red first
    for (const Layout& layout : layouts) {
        SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 512, 512, layout.bits, layout.r,
                                                    layout.g, layout.b, layout.a);
        ASSERT_NE(picture, nullptr);
        if (layout.bits == 8) {
            SDL_Color colours[5] = {
                {0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};
            SDL_SetColors(picture, colours, 0, 5);
        }
        // Icon 0 as the game reads it: the bottom-left cell, upside down.
        SDL_FillRect(picture, nullptr, SDL_MapRGBA(picture->format, 0, 0, 0, 255));
        for (int v = 0; v < 64; v += 32)
            for (int u = 0; u < 64; u += 32) {
                Rgb c = quadrant(u, v);
                SDL_Rect rect = {static_cast<Sint16>(u), static_cast<Sint16>(480 - v), 32, 32};
                SDL_FillRect(picture, &rect, SDL_MapRGBA(picture->format, c.r, c.g, c.b, 255));
            }
        const std::string path = dir + "/sheet" + std::to_string(layout.bits) + ".bmp";
        ASSERT_EQ(SDL_SaveBMP(picture, path.c_str()), 0);
        SDL_FreeSurface(picture);
        IconSheet sheet(path.c_str());
        freshFrame();
        sheet.drawIcon(10, 10, 0);
        EXPECT_TRUE(showsQuadrants(readWindow(), 10, 10)) << layout.bits << "-bit sheet";
    }
}

TEST(IconSheet, AMissingSheetIsReportedOnceAndTheGameGoesOn) {
    REQUIRE_DISPLAY();
    testSubsystems();
    const std::string path = makeScratchDir() + "/no-such-icons.bmp";
    ::testing::internal::CaptureStdout();
    IconSheet sheet(path.c_str());
    std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(sheet.iconTexture, 0u);
    EXPECT_NE(sheet.iconLists, 0u);
    const std::string opening = "Could not load " + path + ": ";
    EXPECT_EQ(said.find(opening), 0u) << said;
    EXPECT_GT(said.size(), opening.size() + 1) << "SDL's reason follows: " << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    freshFrame();
    sheet.drawIcon(0, 0, 5);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}
