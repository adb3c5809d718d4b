// What the asset tool and the gesture-picture tool share: a failure said in one line, whole files
// read and written, numbers kept little-endian, and the layout of the sheets' BMP header (plain
// numbers, so that the tests can include this too). The recipes' noise is the game's own hiss,
// sound/WhiteNoise.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace ToolSupport {
// Prints "where: what" as one line and returns false, so that a check reads `return fail(...)`.
bool fail(const std::string& where, const std::string& what);
// Each says why, naming the path, and returns false when the file cannot be read or written.
bool readFile(const std::string& path, std::string& bytes);
bool writeFile(const std::string& path, const std::string& bytes);

// A number in a binary header: where it starts and how many bytes it takes, lowest first.
struct Field {
    size_t at;
    int size;
};
// Appends value as `bytes` bytes, lowest first.
void putLe(std::string& out, uint32_t value, int bytes);
// Writes value into a field of bytes, which must already reach past it.
void setLe(std::string& bytes, Field field, uint32_t value);
// The field's value; bytes must reach past it.
uint32_t readLe(const std::string& bytes, Field field);

// The BMP the sheets are stored as, uncompressed and 24-bit: "BM", a 14-byte file header and a
// 40-byte information header, then the rows, bottom row of the picture first, each pixel blue,
// green, red and each row padded to whole 4-byte words. The tests read the sheets by it too.
constexpr char bmpMagic[] = "BM";
constexpr Field bmpFileSize{2, 4};
constexpr Field bmpPixelsAt{10, 4};
constexpr Field bmpInfoSize{14, 4};
constexpr Field bmpWidth{18, 4};
constexpr Field bmpHeight{22, 4};
constexpr Field bmpPlanes{26, 2};
constexpr Field bmpBitsPerPixel{28, 2};
constexpr Field bmpCompression{30, 4};
constexpr Field bmpImageSize{34, 4};
constexpr Field bmpPixelsPerMetreX{38, 4};
constexpr Field bmpPixelsPerMetreY{42, 4};
// The two fields after these, the palette's sizes, stay 0: a 24-bit picture has no palette.
constexpr size_t bmpHeaderSize = 54; // where the pixels of the tool's sheets start
constexpr int bmpBits = 24;
constexpr int bmpPixelBytes = bmpBits / 8;
constexpr uint32_t bmpUncompressed = 0;
constexpr size_t bmpRowBytes(int width) {
    return (static_cast<size_t>(width) * bmpPixelBytes + 3) / 4 * 4;
}
} // namespace ToolSupport
