// Line breaking of the message box text, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/TextLayout.h"

namespace {
std::vector<std::string> lines(const char* text, int width) {
    std::vector<std::string> out;
    TextLayout layout(text, width);
    TextPiece piece;
    while (layout.next(piece))
        out.push_back(std::string(text + piece.offset, piece.length));
    return out;
}

using Lines = std::vector<std::string>;
} // namespace

TEST(TextLayout, BreaksAtTheLastSpaceWithinReach) {
    EXPECT_EQ(lines("Make a U-shape to end the conversation", 20),
              (Lines{"Make a U-shape to", "end the conversation"}));
    EXPECT_EQ(lines("one two three", 7), (Lines{"one two", "three"}));
    // A space exactly at the width is a break point; the space itself is dropped.
    EXPECT_EQ(lines("abcd efgh", 4), (Lines{"abcd", "efgh"}));
    EXPECT_EQ(lines("abc", 1), (Lines{"a", "b", "c"}));
}

TEST(TextLayout, WidthAndLengthLimits) {
    EXPECT_TRUE(lines("anything at all", 0).empty());
    EXPECT_TRUE(lines("anything at all", -3).empty());
    EXPECT_TRUE(lines("", 20).empty());
    EXPECT_EQ(lines("abcdefghijklmnopqrst", 20), (Lines{"abcdefghijklmnopqrst"}));
    EXPECT_EQ(lines("abcdefghijklmnopqrstu", 20), (Lines{"abcdefghijklmnopqrst", "u"}));
    // A word longer than the width is cut after exactly `width` characters, even mid-text.
    EXPECT_EQ(lines("go abcdefgh", 4), (Lines{"go", "abcd", "efgh"}));
}

TEST(TextLayout, NewlinesEndLinesAndTakeHeight) {
    EXPECT_EQ(lines("ab\ncd", 20), (Lines{"ab", "cd"}));
    // The second newline stands alone: it is a piece of its own, an empty line on screen.
    EXPECT_EQ(lines("ab\n\n\ncd", 20), (Lines{"ab", "\n", "cd"}));
    // A space or newline right after a break is not a break point: it begins the next line.
    EXPECT_EQ(lines("ab\n\ncd", 20), (Lines{"ab", "\ncd"}));
    EXPECT_EQ(lines("abcd  ef", 4), (Lines{"abcd", " ef"}));
    EXPECT_EQ(lines("ab\n", 20), (Lines{"ab"}));
}

TEST(TextLayout, CountsAndStoresWithoutOverrunning) {
    const char* text = "Make a U-shape to end the conversation";
    EXPECT_EQ(TextLayout::countLines(text, 20), 2);
    EXPECT_EQ(TextLayout::countLines(text, 1), 32) << "one line a character, spaces dropped";
    TextPiece pieces[2] = {{-1, -1}, {-1, -1}};
    EXPECT_EQ(TextLayout::breakLines(text, 20, pieces, 1), 2);
    EXPECT_EQ(pieces[0].length, 17);
    EXPECT_EQ(pieces[1].offset, -1) << "stored past maxPieces";
}

TEST(TextLayout, EveryPieceFitsAndNoCharacterIsLost) {
    const char* texts[] = {"Point where you want to go. Then walk there with the arrow keys.",
                           "a bb ccc dddd eeeee ffffff ggggggg", "x\ny\n\n\nz  w",
                           "supercalifragilistic expialidocious"};
    for (const char* text : texts) {
        for (int width = 1; width <= 25; ++width) {
            TextLayout layout(text, width);
            TextPiece piece;
            int expectedStart = 0;
            while (layout.next(piece)) {
                ASSERT_LE(piece.length, width) << text << " at " << width;
                ASSERT_EQ(piece.offset, expectedStart) << text << " at " << width;
                expectedStart = piece.offset + piece.length;
                // Only a single space or newline is ever skipped between two pieces.
                char dropped = text[expectedStart];
                if (dropped == ' ' || dropped == '\n')
                    ++expectedStart;
            }
            ASSERT_GE(expectedStart, static_cast<int>(std::string(text).size()))
                << text << " at " << width;
        }
    }
}
