// Text, icons and the message box: line breaking (no window needed), drawing from the sheets
// read back from the window, and the committed sheets, which must be the asset tool's output.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

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

void freshFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
}

int litPixels(int from = 0, int to = 480) { // in the window's rows [from, to)
    const std::vector<Rgb> w = readWindow();
    return (to - from) * 640 - std::count(w.data() + from * 640, w.data() + to * 640, black);
}

// Whether the window shows `text` at (x, y) as assets/font/glyphs.txt draws it, `scale` window
// pixels a drawing pixel, inverted for set 1; reports the first pixel that differs. Every glyph
// but the space must have ink: every text of the game is printable ASCII.
::testing::AssertionResult showsText(const std::vector<Rgb>& window, int x, int y,
                                     const std::string& text, int scale, int set) {
    std::map<int, std::string> glyphs; // code -> 8 rows of 8 'X' or '.'
    std::ifstream in(sourcePath("assets/font/glyphs.txt"));
    int code = -1;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("glyph ", 0) == 0)
            code = std::stoi(line.substr(6));
        else if (code >= 0 && !line.empty() && line[0] != '#')
            glyphs[code] += line;
    const int cell = 8 * scale;
    for (size_t k = 0; k < text.size(); ++k) {
        const std::string& glyph = glyphs.at(text[k]);
        if (text[k] != ' ' && glyph.find('X') == std::string::npos)
            return ::testing::AssertionFailure() << "no glyph for '" << text[k] << "'";
        for (int v = 0; v < cell; ++v)
            for (int u = 0; u < cell; ++u) {
                bool ink = (glyph.at(v / scale * 8 + u / scale) == 'X') != (set == 1);
                Rgb seen = pixelAt(window, x + cell * static_cast<int>(k) + u, y + v);
                if (!(seen == (ink ? white : black)))
                    return ::testing::AssertionFailure() << text[k] << " at " << u << "," << v;
            }
    }
    return ::testing::AssertionSuccess();
}

// The icon test picture: red top-left, green top-right, blue bottom-left, white bottom-right.
const Rgb quadrants[2][2] = {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, white}};

::testing::AssertionResult showsQuadrants(int x, int y, int rows = 64) {
    const std::vector<Rgb> window = readWindow();
    for (int v = 0; v < rows; ++v)
        for (int u = 0; u < 64; ++u)
            if (!(pixelAt(window, x + u, y + v) == quadrants[v / 32][u / 32]))
                return ::testing::AssertionFailure() << "icon pixel (" << u << ", " << v << ")";
    return ::testing::AssertionSuccess();
}

// Saves a sheet of layout `l` (bits a pixel, red, green, blue and alpha masks) with the quadrant
// picture as icons 0, 13 and 63: cell (n mod 8, n div 8) from the bottom-left, upside down.
std::string quadrantSheet(const Uint32* l) {
    SDL_Surface* p = SDL_CreateRGBSurface(SDL_SWSURFACE, 512, 512, l[0], l[1], l[2], l[3], l[4]);
    SDL_Color colours[5] = {
        {0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};
    SDL_SetColors(p, colours, 0, 5); // only an 8-bit picture has a palette
    SDL_FillRect(p, nullptr, SDL_MapRGBA(p->format, 0, 0, 0, 255));
    for (int n : {0, 13, 63})
        for (int q = 0; q < 4; ++q) {
            const Rgb c = quadrants[q / 2][q % 2];
            SDL_Rect rect = {static_cast<Sint16>(n % 8 * 64 + q % 2 * 32),
                             static_cast<Sint16>(480 - n / 8 * 64 - q / 2 * 32), 32, 32};
            SDL_FillRect(p, &rect, SDL_MapRGBA(p->format, c.r, c.g, c.b, 255));
        }
    const std::string path = scratch.string() + "-icons.bmp";
    EXPECT_EQ(SDL_SaveBMP(p, path.c_str()), 0);
    SDL_FreeSurface(p);
    return path;
}
} // namespace

TEST(TextLayout, BreaksAtSpacesNewlinesAndTheWidth) {
    const struct {
        const char* text;
        int width;
        std::vector<std::string> expected;
    } cases[] = {
        {uShape, 20, {"Make a U-shape to", "end the conversation"}},
        {"anything at all", 0, {}},
        {"abcdefghijklmnopqrst", 20, {"abcdefghijklmnopqrst"}},
        {"abcdefghijklmnopqrstu", 20, {"abcdefghijklmnopqrst", "u"}},
        {"go abcdefgh", 4, {"go", "abcd", "efgh"}}, // a long word is cut after `width` characters
        {"abcd efgh", 4, {"abcd", "efgh"}},         // a space right at the width is dropped
        {"ab\ncd", 20, {"ab", "cd"}},
        {"ab\n\n\ncd", 20, {"ab", "\n", "cd"}}, // a lone newline is an empty line of its own
        // A space or newline right after a break is not a break point: it begins the next line.
        {"ab\n\ncd", 20, {"ab", "\ncd"}},
        {"abcd  ef", 4, {"abcd", " ef"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        TextLayout layout(c.text, c.width);
        for (TextPiece piece; layout.next(piece);)
            lines.push_back(std::string(c.text + piece.offset, piece.length));
        EXPECT_EQ(lines, c.expected) << c.text << " at " << c.width;
    }
}

// Each piece fits and starts where the one before ended, or past one space or newline there.
TEST(TextLayout, EveryPieceFitsAndNoCharacterIsLost) {
    const std::string text = "Go there.\nThen  walk\n\n\nwith the arrow keys, superfragilistic";
    for (int width = 1; width <= 25; ++width) {
        TextLayout layout(text.c_str(), width);
        int end = 0;
        for (TextPiece p; layout.next(p); end = p.offset + p.length) {
            const bool skip = p.offset == end + 1 && (text[end] == ' ' || text[end] == '\n');
            ASSERT_TRUE(p.length <= width && (p.offset == end || skip)) << "width " << width;
        }
        ASSERT_EQ(end, static_cast<int>(text.size())) << "width " << width;
    }
}

TEST(SheetBuilder, CommittedSheetsAreTheToolsOutput) {
    // On a difference, regenerate the sheet with `assetgen assets OUT` and copy it over.
    std::string command = std::string("'") + WANDERKIN_ASSETGEN + "' '" + sourcePath("assets") +
                          "' '" + scratch.string() + "' >/dev/null";
    for (const std::string name : {"font.bmp", "smallfont.bmp", "icons.bmp"})
        command += " && cmp '" + sourcePath("textures/" + name) + "' '" + scratch.string() +
                   "/textures/" + name + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    fs::remove_all(scratch);
}

TEST(FontSet, EveryPrintableGlyphHasInkAndShowsUprightAndUnmirrored) {
    REQUIRE_DISPLAY();
    std::string printable;
    for (char c = 32; c < 127; ++c)
        printable += c;
    for (int scale : {2, 1}) { // the big font, then the small one, in rows of 512 px
        freshFrame();
        const auto draw = scale == 2 ? &FontSet::drawText : &FontSet::drawSmallText;
        for (int k = 0; k < 95; k += 64 / scale)
            (font()->*draw)(0, k, printable.substr(k, 64 / scale).c_str(), 0);
        const std::vector<Rgb> window = readWindow();
        for (int k = 0; k < 95; k += 64 / scale)
            EXPECT_TRUE(showsText(window, 0, k, printable.substr(k, 64 / scale), scale, 0));
    }
}

TEST(FontSet, GlyphSetsEmptyTextAndTexturing) {
    REQUIRE_DISPLAY();
    freshFrame();
    glEnable(GL_TEXTURE_2D);
    font()->drawText(10, 10, "", 0);
    EXPECT_EQ(litPixels(), 0) << "an empty text draws nothing";
    for (int set : {1, 2, 7}) {
        freshFrame();
        font()->drawText(0, 0, "Hi!", set);
        EXPECT_TRUE(showsText(readWindow(), 0, 0, "Hi!", 2, 1)) << "set " << set;
    }
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "text leaves texturing off";
}

TEST(FontSet, WrappedTextBreaksIntoLinesSixteenPixelsApart) {
    REQUIRE_DISPLAY();
    freshFrame();
    font()->drawWrappedText(185, 11, 20, uShape);
    // A lone newline is an empty line; a newline that begins a line draws nothing itself.
    font()->drawWrappedText(40, 100, 20, "ab\n\n\ncd\n\nef");
    const std::vector<Rgb> window = readWindow();
    EXPECT_TRUE(showsText(window, 185, 11, "Make a U-shape to   ", 2, 0));
    EXPECT_TRUE(showsText(window, 185, 27, "end the conversation", 2, 0));
    EXPECT_TRUE(showsText(window, 40, 100, "ab", 2, 0));
    EXPECT_EQ(litPixels(116, 132), 0);
    EXPECT_TRUE(showsText(window, 40, 132, "cd", 2, 0));
    EXPECT_TRUE(showsText(window, 40, 148, "ef", 2, 0));
}

TEST(Box, HidesWhatIsUnderItEvenWithAdditiveBlendingWhicheverCornersComeFirst) {
    REQUIRE_DISPLAY();
    Video* video = testSubsystems()->video;
    const auto boxOverGrey = [video](int x0, int y0, int x1, int y1) {
        glClearColor(0.5f, 0.5f, 0.5f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);    // as text and icons leave it
        glBlendFunc(GL_ONE, GL_ONE); // as in the intro
        video->drawBox(x0, y0, x1, y1);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        return readWindow();
    };
    const std::vector<Rgb> window = boxOverGrey(179, 4, 525, 100);
    for (int y = 8; y < 97; ++y) // the inside is black
        EXPECT_EQ(std::count(&window[y * 640 + 183], &window[y * 640 + 522], black), 522 - 183);
    // The white outline adds light to the grey under it; outside the box the grey is untouched.
    EXPECT_GT(pixelAt(window, 179, 50).r, 140);
    EXPECT_NEAR(pixelAt(window, 170, 50).r, 128, 1);
    EXPECT_TRUE(boxOverGrey(525, 100, 179, 4) == window);
    EXPECT_TRUE(boxOverGrey(179, 100, 525, 4) == window);
}

TEST(IconSheet, CellsShowUprightWhereDrawnFromSheetsOfAnyLayoutAndClipAtTheBottom) {
    REQUIRE_DISPLAY();
    testSubsystems(); // the window's GL context
    const Uint32 layouts[][5] = {
        {24, 0xFF0000, 0xFF00, 0xFF, 0}, {8, 0, 0, 0, 0}, {32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000}};
    for (const Uint32* l : layouts) {
        const std::string path = quadrantSheet(l);
        IconSheet sheet(path.c_str());
        fs::remove(path);
        freshFrame();
        for (auto [n, x] : {std::pair{0, 100}, {13, 300}, {63, 500}})
            sheet.drawIcon(x, 50, n);
        for (int x : {100, 300, 500})
            EXPECT_TRUE(showsQuadrants(x, 50)) << l[0] << "-bit sheet, x " << x;
        EXPECT_EQ(litPixels(), 3 * 64 * 64) << "icons draw only their cells";
        freshFrame();
        sheet.drawIcon(576, 448, 0);
        EXPECT_TRUE(showsQuadrants(576, 448, 32));
        EXPECT_EQ(litPixels(0, 448), 0) << "nothing wraps round to the top";
    }
    // The tool's cells land where the game reads them: the pointer's top pixel is its tip (9, 10).
    freshFrame();
    testSubsystems()->video->icons->drawIcon(0, 0, 6);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(litPixels(0, 11), 1);
    EXPECT_FALSE(pixelAt(readWindow(), 9, 10) == black);
}

TEST(IconSheet, AMissingSheetIsReportedInOneLineAndTheGameGoesOn) {
    REQUIRE_DISPLAY();
    testSubsystems();
    const std::string path = scratch.string() + "-none.bmp";
    ::testing::internal::CaptureStdout();
    IconSheet sheet(path.c_str());
    const std::string said = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(said.find("Could not load " + path + ": "), 0u) << said;
    EXPECT_GT(said.size(), path.size() + 18) << "SDL's reason follows: " << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    sheet.drawIcon(0, 0, 5);
}
