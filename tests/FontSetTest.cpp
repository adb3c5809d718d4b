// The fonts on screen: glyph cells, glyph sets, text positions and the wrapped message text.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "graphics/FontSet.h"
#include "graphics/Video.h"
#include "tests/SheetTestSupport.h"

namespace {
const Rgb black{0, 0, 0}, white{255, 255, 255};

// The glyph drawings of assets/font/glyphs.txt: code -> 8 rows of 'X' and '.'.
std::map<int, std::vector<std::string>> sourceGlyphs() {
    std::map<int, std::vector<std::string>> glyphs;
    std::ifstream in(sourcePath("assets/font/glyphs.txt"));
    std::string line;
    int code = -1;
    while (std::getline(in, line)) {
        if (line.rfind("glyph ", 0) == 0)
            code = std::stoi(line.substr(6));
        else if (code >= 0 && !line.empty() && line[0] != '#')
            glyphs[code].push_back(line);
    }
    return glyphs;
}

FontSet* font() {
    return testSubsystems()->video->font;
}

void freshFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

int litPixels(const std::vector<Rgb>& window) {
    int lit = 0;
    for (const Rgb& p : window)
        lit += !(p == black);
    return lit;
}

// Whether the window shows `text` at (x, y) exactly as the glyph drawings say, `scale` window
// pixels a drawing pixel, inverted for set 1; reports the first pixel that differs.
::testing::AssertionResult showsText(const std::vector<Rgb>& window, int x, int y,
                                     const std::string& text, int scale, int set) {
    static const auto glyphs = sourceGlyphs();
    const int cell = 8 * scale;
    for (size_t k = 0; k < text.size(); ++k) {
        const auto& glyph = glyphs.at(text[k]);
        for (int v = 0; v < cell; ++v)
            for (int u = 0; u < cell; ++u) {
                bool ink = (glyph[v / scale][u / scale] == 'X') != (set == 1);
                Rgb seen = pixelAt(window, x + cell * static_cast<int>(k) + u, y + v);
                if (!(seen == (ink ? white : black)))
                    return ::testing::AssertionFailure()
                           << "'" << text[k] << "' pixel (" << u << ", " << v << ") is "
                           << int(seen.r) << "," << int(seen.g) << "," << int(seen.b);
            }
    }
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(FontSheet, EveryPrintableCharacterHasInkInTheFirstSet) {
    // Every text of the game is printable ASCII, so this covers every character it uses.
    for (const char* name : {"textures/font.bmp", "textures/smallfont.bmp"}) {
        SheetPicture sheet(sourcePath(name));
        ASSERT_TRUE(sheet.loaded()) << name;
        const int cell = sheet.width() / 16;
        for (int code = 33; code <= 126; ++code) {
            const int j = code - 32;
            // Entry j: column j mod 16, row j div 16 counted from the bottom of the picture.
            const int left = (j % 16) * cell, bottom = sheet.height() - 1 - (j / 16) * cell;
            int ink = 0;
            for (int v = 0; v < cell; ++v)
                for (int u = 0; u < cell; ++u)
                    ink += sheet.at(left + u, bottom - v) == white;
            EXPECT_GT(ink, 0) << name << ": no glyph for '" << char(code) << "'";
        }
    }
}

TEST(FontSet, GlyphsShowTheirCellsUprightAndUnmirrored) {
    REQUIRE_DISPLAY();
    freshFrame();
    font()->drawText(100, 50, "LFgq?7", 0);
    font()->drawSmallText(300, 200, "Jb{4", 0);
    std::vector<Rgb> window = readWindow();
    EXPECT_TRUE(showsText(window, 100, 50, "LFgq?7", 2, 0));
    EXPECT_TRUE(showsText(window, 300, 200, "Jb{4", 1, 0));
}

TEST(FontSet, GlyphSetsAboveOneDrawTheSecondSet) {
    REQUIRE_DISPLAY();
    freshFrame();
    font()->drawText(0, 0, "Hi!", 1);
    std::vector<Rgb> set1 = readWindow();
    EXPECT_TRUE(showsText(set1, 0, 0, "Hi!", 2, 1));
    for (int set : {2, 7}) {
        freshFrame();
        font()->drawText(0, 0, "Hi!", set);
        EXPECT_TRUE(readWindow() == set1) << "set " << set;
    }
    freshFrame();
    font()->drawText(0, 0, "Hi!", -1);
    EXPECT_TRUE(showsText(readWindow(), 0, 0, "Hi!", 2, 0)) << "a negative set draws set 0";
    freshFrame();
    font()->drawSmallText(8, 8, "ok", 3);
    EXPECT_TRUE(showsText(readWindow(), 8, 8, "ok", 1, 1));
}

TEST(FontSet, EmptyTextDrawsNothingAndTextLeavesTexturingOff) {
    REQUIRE_DISPLAY();
    freshFrame();
    glEnable(GL_TEXTURE_2D);
    font()->drawText(10, 10, "", 0);
    EXPECT_EQ(litPixels(readWindow()), 0) << "an empty text draws nothing";
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "an empty text leaves texturing as it was";
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), font()->bigTexture);

    font()->drawText(20, 30, "Ok", 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(showsText(readWindow(), 20, 30, "Ok", 2, 0));
}

TEST(FontSet, WrappedTextBreaksIntoLinesSixteenPixelsApart) {
    REQUIRE_DISPLAY();
    freshFrame();
    font()->drawWrappedText(185, 11, 20, "Make a U-shape to end the conversation");
    std::vector<Rgb> wrapped = readWindow();
    freshFrame();
    font()->drawText(185, 11, "Make a U-shape to", 0);
    font()->drawText(185, 27, "end the conversation", 0);
    EXPECT_TRUE(readWindow() == wrapped);

    freshFrame();
    font()->drawWrappedText(185, 11, 0, "Make a U-shape");
    EXPECT_EQ(litPixels(readWindow()), 0) << "width 0 draws nothing";

    // A lone newline is an empty line; a newline that begins a line draws nothing itself.
    freshFrame();
    font()->drawWrappedText(40, 100, 20, "ab\n\n\ncd\n\nef");
    std::vector<Rgb> window = readWindow();
    EXPECT_TRUE(showsText(window, 40, 100, "ab", 2, 0));
    EXPECT_TRUE(showsText(window, 40, 132, "cd", 2, 0));
    EXPECT_TRUE(showsText(window, 40, 148, "ef", 2, 0));
    int lit = 0;
    for (int y = 116; y < 132; ++y)
        for (int x = 0; x < 640; ++x)
            lit += !(pixelAt(window, x, y) == black);
    EXPECT_EQ(lit, 0);
}
