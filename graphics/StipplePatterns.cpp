// Builds the stipple masks from the 4 x 4 Bayer matrix at compile time.
#include "graphics/StipplePatterns.h"

namespace {
constexpr int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// One byte of row r of mask k: bit 7 is column 0, and the pattern repeats every 4 columns.
constexpr GLubyte maskByte(int k, int r) {
    int byte = 0;
    for (int c = 0; c < 8; ++c)
        if (bayer[r % 4][c % 4] < k)
            byte |= 0x80 >> c;
    return static_cast<GLubyte>(byte);
}

struct MaskTable {
    GLubyte bytes[17][128];
};

constexpr MaskTable buildMasks() {
    MaskTable table{};
    for (int k = 0; k <= 16; ++k)
        for (int i = 0; i < 128; ++i)
            table.bytes[k][i] = maskByte(k, i / 4);
    return table;
}

constexpr MaskTable masks = buildMasks();
} // namespace

const GLubyte (&stipplePatterns)[17][128] = masks.bytes;

const GLubyte* stippleMask(double sixteenths) {
    const int k = static_cast<int>(sixteenths);
    return stipplePatterns[k < 0 ? 0 : (k > 16 ? 16 : k)];
}
