// Builds the stipple masks from the 4 x 4 Bayer matrix at compile time.
#include "graphics/StipplePatterns.h"

namespace {
// A pixel is in mask k when its entry in this ordered-dither matrix is below k; the matrix
// repeats every 4 rows and columns.
constexpr int bayerSide = 4;
constexpr int bayer[bayerSide][bayerSide] = {
    {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr int bytesPerRow = 4;

// One byte of row r of mask k: bit 7 is column 0.
constexpr GLubyte maskByte(int k, int r) {
    int byte = 0;
    for (int c = 0; c < 8; ++c)
        if (bayer[r % bayerSide][c % bayerSide] < k)
            byte |= 0x80 >> c;
    return static_cast<GLubyte>(byte);
}

struct MaskTable {
    GLubyte bytes[stippleSteps + 1][stippleMaskBytes];
};

constexpr MaskTable buildMasks() {
    MaskTable table{};
    for (int k = 0; k <= stippleSteps; ++k)
        for (int i = 0; i < stippleMaskBytes; ++i)
            table.bytes[k][i] = maskByte(k, i / bytesPerRow);
    return table;
}

constexpr MaskTable masks = buildMasks();
} // namespace

const GLubyte (&stipplePatterns)[stippleSteps + 1][stippleMaskBytes] = masks.bytes;

const GLubyte* stippleMask(double sixteenths) {
    const int k = static_cast<int>(sixteenths);
    return stipplePatterns[k < 0 ? 0 : (k > stippleSteps ? stippleSteps : k)];
}
