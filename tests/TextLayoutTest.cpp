// Line breaking for the message box.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "graphics/TextLayout.h"

TEST(TextLayout, BreaksAtSpacesNewlinesAndTheWidth) {
    // '|' begins each line. A space or newline right after a break begins the next line.
    const std::tuple<const char*, int, std::string> cases[] = {
        {"Make a U-shape to end the conversation", 20, "|Make a U-shape to|end the conversation"},
        {"anything at all", 0, ""},
        {"abcdefghijklmnopqrst", 20, "|abcdefghijklmnopqrst"},
        {"abcdefghijklmnopqrstu", 20, "|abcdefghijklmnopqrst|u"},
        {"ab cd ef", 5, "|ab cd|ef"},
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
        EXPECT_EQ(TextLayout::countLines(text, width),
                  static_cast<int>(std::count(expected.begin(), expected.end(), '|')));
    }
}
