// Text as the window shows it, read back and compared with the font's source glyphs.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/GameEngine.h"
#include "graphics/FontSet.h"
#include "graphics/Video.h"
#include "tests/TestSupport.h"

namespace {
FontSet* freshFont() {
    FontSet* font = testEngine()->video->font;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    return font;
}
} // namespace

TEST(FontSet, GlyphsShowUprightForEveryPrintableInEachSetAndWrappedLines16PxApart) {
    std::string printable;
    for (char c = 32; c < 127; ++c)
        printable += c;
    for (int set : {0, 1, 2, -1})          // a set above 1 draws as set 1, one below 0 as set 0
        for (int k = 0; k < 95; k += 32) { // in rows of 512 px
            freshFont()->drawText(0, k, printable.substr(k, 32).c_str(), set);
            EXPECT_TRUE(showsText(readWindow(), 0, k, printable.substr(k, 32), set > 0)) << set;
        }
    freshFont()->drawText(10, 10, "", 0);
    EXPECT_EQ(readWindow().count(black), screenWidth * screenHeight) << "an empty text";
    // The newline that begins the third piece has no glyph and takes no room.
    freshFont()->drawWrappedText(185, 11, 20, "Make a U-shape to end the conversation\n\nok");
    const Picture w = readWindow();
    EXPECT_TRUE(showsText(w, 185, 11, "Make a U-shape to   ") &&
                showsText(w, 185, 27, "end the conversation") && showsText(w, 185, 43, "ok  "));
}

TEST(FontSet, BytesWithoutAGlyphDrawNothingAndTakeNoRoom) {
    for (int set : {0, 1})
        for (auto draw : {&FontSet::drawText, &FontSet::drawSmallText}) {
            (freshFont()->*draw)(10, 10, "abc", set);
            const Picture clean = readWindow();
            (freshFont()->*draw)(10, 10,
                                 "a\x01\x1f"
                                 "b\x7f\x80\xc3\xa9\xff"
                                 "c",
                                 set);
            EXPECT_TRUE(readWindow() == clean) << "set " << set;
        }
}
