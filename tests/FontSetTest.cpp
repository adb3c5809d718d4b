// Text, icons and the message box, read back from the window; line breaking; the committed sheets.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <tuple>

#include "graphics/FontSet.h"
#include "graphics/IconSheet.h"
#include "graphics/TextLayout.h"
#include "graphics/Video.h"
#include "tests/TestSupport.h"

namespace fs = std::filesystem;

namespace {
const Rgb black{0, 0, 0}, white{255, 255, 255};
const fs::path scratch = fs::temp_directory_path() / ("wanderkin-" + std::to_string(getpid()));
const char* uShape = "Make a U-shape to end the conversation";
const auto font = [] { return testSubsystems()->video->font; };

void freshFrame(float grey = 0) {
    testSubsystems(); // the window's GL context
    glClearColor(grey, grey, grey, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
}

// Whether the window shows `text` at (x, y) as assets/font/glyphs.txt draws it, `scale` window
// pixels a drawing pixel, inverted for set 1. Every glyph but the space must have ink.
::testing::AssertionResult showsText(const std::vector<Rgb>& window, int x, int y,
                                     const std::string& text, int scale = 2, int set = 0) {
    std::vector<std::string> glyphs(128); // 8 rows of 8 'X' or '.' by code
    std::ifstream in(sourcePath("assets/font/glyphs.txt"));
    int code = -1;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("glyph ", 0) == 0)
            code = std::stoi(line.substr(6));
        else if (code >= 0 && !line.empty() && line[0] != '#')
            glyphs.at(code) += line;
    for (int k = 0; k < static_cast<int>(text.size()); ++k) {
        const std::string& glyph = glyphs.at(text[k]);
        if (text[k] != ' ' && glyph.find('X') == std::string::npos)
            return ::testing::AssertionFailure() << "no glyph for '" << text[k] << "'";
        for (int v = 0; v < 8 * scale; ++v)
            for (int u = 0; u < 8 * scale; ++u) {
                bool ink = (glyph.at(v / scale * 8 + u / scale) == 'X') != (set == 1);
                if (!(pixelAt(window, x + 8 * scale * k + u, y + v) == (ink ? white : black)))
                    return ::testing::AssertionFailure() << text[k] << " at " << u << "," << v;
            }
    }
    return ::testing::AssertionSuccess();
}

// The icon test picture: red top-left, green top-right, blue bottom-left, white bottom-right.
const Rgb quadrants[2][2] = {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, white}};

// Whether the window shows nothing but the quadrant picture with its top-left corner at (x, y).
bool showsOnlyQuadrants(int x, int y) {
    std::vector<Rgb> expected(640 * 480, black);
    for (int v = 0; v < 64 && y + v < 480; ++v)
        for (int u = 0; u < 64; ++u)
            expected[(y + v) * 640 + x + u] = quadrants[v / 32][u / 32];
    return readWindow() == expected;
}
} // namespace

TEST(TextLayout, BreaksAtSpacesNewlinesAndTheWidth) {
    // '|' begins each line. A space or newline right after a break begins the next line.
    const std::tuple<const char*, int, std::string> cases[] = {
        {uShape, 20, "|Make a U-shape to|end the conversation"},
        {"anything at all", 0, ""},
        {"abcdefghijklmnopqrst", 20, "|abcdefghijklmnopqrst"},
        {"abcdefghijklmnopqrstu", 20, "|abcdefghijklmnopqrst|u"},
        {"ab\ncd", 20, "|ab|cd"},
        {"ab\n\n\ncd", 20, "|ab|\n|cd"},
        {"ab\n\ncd", 20, "|ab|\ncd"},
    };
    for (const auto& [text, width, expected] : cases) {
        std::string lines;
        TextLayout layout(text, width);
        for (TextPiece p; layout.next(p);)
            lines += "|" + std::string(text + p.offset, p.length);
        EXPECT_EQ(lines, expected) << text << " at " << width;
    }
}

TEST(SheetBuilder, CommittedSheetsAreTheToolsOutput) {
    // On a difference, regenerate the sheets with `assetgen assets OUT` and copy them over.
    const std::string out = scratch.string(),
                      command = "'" + std::string(WANDERKIN_ASSETGEN) + "' '" +
                                sourcePath("assets") + "' '" + out + "' >/dev/null && diff -rq '" +
                                out + "/textures' '" + sourcePath("textures") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    fs::remove_all(scratch);
}

TEST(FontSet, GlyphsShowUprightWithInkForEveryPrintableInEachSetAndWrappedLines16PxApart) {
    REQUIRE_DISPLAY();
    std::string printable;
    for (char c = 32; c < 127; ++c)
        printable += c;
    for (int set : {0, 1, 2}) // a set above 1 draws as set 1
        for (auto [scale, draw] : {std::pair{2, &FontSet::drawText}, {1, &FontSet::drawSmallText}})
            for (int k = 0; k < 95; k += 64 / scale) { // in rows of 512 px
                freshFrame();
                const std::string row = printable.substr(k, 64 / scale);
                (font()->*draw)(0, k, row.c_str(), set);
                EXPECT_TRUE(showsText(readWindow(), 0, k, row, scale, std::min(set, 1))) << set;
            }
    freshFrame();
    font()->drawText(10, 10, "", 0);
    EXPECT_TRUE(readWindow() == std::vector<Rgb>(640 * 480, black)) << "an empty text";
    // The newline that begins the third piece has no glyph.
    font()->drawWrappedText(185, 11, 20, (uShape + std::string("\n\nok")).c_str());
    const std::vector<Rgb> w = readWindow();
    EXPECT_TRUE(showsText(w, 185, 11, "Make a U-shape to   ") &&
                showsText(w, 185, 27, "end the conversation") && showsText(w, 185, 43, "ok"));
}

TEST(Box, HidesWhatIsUnderItEvenWithAdditiveBlendingWhicheverCornersComeFirst) {
    REQUIRE_DISPLAY();
    const auto boxOverGrey = [](int x0, int y0, int x1, int y1) {
        freshFrame(0.5f);
        glDisable(GL_TEXTURE_2D);    // as text and icons leave it
        glBlendFunc(GL_ONE, GL_ONE); // as in the intro
        testSubsystems()->video->drawBox(x0, y0, x1, y1);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        return readWindow();
    };
    const std::vector<Rgb> window = boxOverGrey(179, 4, 525, 100);
    for (int y = 8; y < 97; ++y) // the inside is black
        EXPECT_EQ(std::count(&window[y * 640 + 183], &window[y * 640 + 522], black), 522 - 183);
    // The white outline adds light to the grey under it; outside the box the grey is untouched.
    EXPECT_TRUE(pixelAt(window, 179, 50).r > 140 && std::abs(pixelAt(window, 170, 50).r - 128) < 2);
    EXPECT_TRUE(boxOverGrey(525, 100, 179, 4) == window && boxOverGrey(179, 100, 525, 4) == window);
}

// A sheet with the quadrant picture upside down as icons 0, 13 and 63 in cell (n mod 8, n div 8)
// from the bottom-left, in 32-bit RGBA: it must be converted (the fonts cover 24-bit sheets).
TEST(IconSheet, CellsShowUprightFromA32BitSheetClipAtTheBottomAndAMissingSheetIsReported) {
    REQUIRE_DISPLAY();
    freshFrame();
    SDL_Surface* p = SDL_CreateRGBSurface(0, 512, 512, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
    for (int n : {0, 13, 63})
        for (int q = 0; q < 4; ++q) {
            SDL_Rect r{short(n % 8 * 64 + q % 2 * 32), short(480 - n / 8 * 64 - q / 2 * 32), 32,
                       32};
            const Rgb c = quadrants[q / 2][q % 2];
            SDL_FillRect(p, &r, SDL_MapRGBA(p->format, c.r, c.g, c.b, 255));
        }
    const std::string path = scratch.string() + "-icons.bmp";
    ASSERT_EQ(SDL_SaveBMP(p, path.c_str()), 0);
    SDL_FreeSurface(p);
    IconSheet sheet(path.c_str());
    fs::remove(path);
    for (int n : {0, 13, 63}) {
        freshFrame();
        sheet.drawIcon(100 + 5 * n, 50 + n, n);
        EXPECT_TRUE(showsOnlyQuadrants(100 + 5 * n, 50 + n)) << "icon " << n;
    }
    freshFrame(); // the game's pointer: its tip, the top-left of its arrow, is pixel (9, 10)
    testSubsystems()->video->icons->drawIcon(100, 100, 6);
    const std::vector<Rgb> w = readWindow();
    EXPECT_FALSE(pixelAt(w, 109, 110) == black);
    for (int y = 100; y < 164; ++y)
        for (int x = 100; x < 164; ++x)
            ASSERT_TRUE((y >= 110 && x >= 109) || pixelAt(w, x, y) == black) << x << "," << y;
    freshFrame();
    sheet.drawIcon(576, 448, 0);
    EXPECT_TRUE(showsOnlyQuadrants(576, 448)) << "its upper 32 rows";
    ::testing::internal::CaptureStdout();
    IconSheet(path.c_str()).drawIcon(0, 0, 5);
    const std::string said = ::testing::internal::GetCapturedStdout(); // and SDL's reason
    EXPECT_TRUE(std::regex_match(said, std::regex("Could not load " + path + ": .+\n"))) << said;
}

TEST(FontSet, BytesWithoutAGlyphDrawNothingAndTakeNoRoom) {
    REQUIRE_DISPLAY();
    for (int set : {0, 1})
        for (auto draw : {&FontSet::drawText, &FontSet::drawSmallText}) {
            freshFrame();
            (font()->*draw)(10, 10, "abc", set);
            const std::vector<Rgb> clean = readWindow();
            freshFrame();
            (font()->*draw)(10, 10,
                            "a\x01\x1f"
                            "b\x7f\x80\xc3\xa9\xff"
                            "c",
                            set);
            EXPECT_TRUE(readWindow() == clean) << "set " << set;
        }
}
