// Line breaking for the message box: a text and a width in characters in, lines out as byte
// ranges of the text. Pure and allocation-free, so the scene can break its text every frame.
#pragma once

// One line of a broken text: `length` bytes starting at byte `offset`.
struct TextPiece {
    int offset;
    int length;
};

class TextLayout {
  public:
    // Starts breaking `text` (NUL-terminated; the caller keeps it alive while breaking) into
    // lines of at most `width` characters. A width of 0 or less gives no lines at all.
    TextLayout(const char* text, int width);

    // The next line, or false once the text is used up. Every piece, even an empty one or a
    // lone newline, takes one line of height.
    bool next(TextPiece& piece);

    // How many lines the whole text takes at this width.
    static int countLines(const char* text, int width);

  private:
    const char* text;
    int length;
    int width;
    int start = 0;
};
