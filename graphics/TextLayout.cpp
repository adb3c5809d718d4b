// Line breaking for the message box.
#include "graphics/TextLayout.h"

#include <cstring>

TextLayout::TextLayout(const char* text, int width)
    : text(text), length(text ? static_cast<int>(std::strlen(text)) : 0), width(width) {}

bool TextLayout::next(TextPiece& piece) {
    if (width <= 0 || start >= length)
        return false;
    // The byte at start is never a break point: a space or newline right after a break
    // begins the next line. A line ends at the last space within reach, at a newline, or at
    // the end of the text once the rest fits.
    int breakAt = -1;
    for (int i = start + 1;;) {
        if (i == length) {
            breakAt = length;
            break;
        }
        if (text[i] == '\n') {
            breakAt = i;
            break;
        }
        if (text[i] == ' ')
            breakAt = i;
        ++i;
        if (i - start > width)
            break;
    }
    if (breakAt < 0) {
        // No space within reach: cut the word after exactly `width` characters.
        piece = {start, width};
        start += width;
    } else {
        piece = {start, breakAt - start};
        start = breakAt + 1; // the space or newline at the break is dropped
    }
    return true;
}

int TextLayout::countLines(const char* text, int width) {
    TextLayout layout(text, width);
    int lines = 0;
    for (TextPiece piece; layout.next(piece);)
        ++lines;
    return lines;
}
