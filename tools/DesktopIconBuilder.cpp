// Cuts the boy out of the icon sheet and writes him as the desktop icon, one PNG a size.
#include "tools/DesktopIconBuilder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "graphics/SheetGeometry.h"
#include "parts/Icons.h"
#include "tools/ToolSupport.h"

using ToolSupport::fail;

namespace {
// A stored deflate block holds at most this many bytes.
const size_t storedBlockLimit = 65535;

void putBe(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

uint32_t adler32(const std::string& bytes) {
    uint32_t a = 1, b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::string pngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    putBe(chunk, static_cast<uint32_t>(data.size()));
    chunk += type + data;
    putBe(chunk, crc32(type + data));
    return chunk;
}

// A zlib stream of stored (uncompressed) blocks: a few lines instead of a compressor, and the
// package and git compress the files anyway.
std::string storedZlib(const std::string& data) {
    std::string out = "\x78\x01";
    size_t at = 0;
    do {
        const size_t length = std::min(storedBlockLimit, data.size() - at);
        const bool last = at + length == data.size();
        out.push_back(last ? 1 : 0);
        for (uint32_t half : {static_cast<uint32_t>(length), ~static_cast<uint32_t>(length)}) {
            out.push_back(static_cast<char>(half & 0xFF));
            out.push_back(static_cast<char>((half >> 8) & 0xFF));
        }
        out.append(data, at, length);
        at += length;
    } while (at < data.size());
    putBe(out, adler32(data));
    return out;
}

// How much of source pixel i, one unit wide, the destination pixel spanning [from, to) covers.
double overlap(int i, double from, double to) {
    return std::max(0.0, std::min<double>(i + 1, to) - std::max<double>(i, from));
}
} // namespace

bool DesktopIconBuilder::buildAll() {
    Picture cell;
    if (!readIconCell(Icon::boy, cell))
        return false;
    bool ok = true;
    for (int size : sizes) {
        const std::string side = std::to_string(size);
        const std::string dir = outDir + "/" + side + "x" + side + "/apps";
        std::error_code error;
        std::filesystem::create_directories(dir, error); // a failure shows when writing
        ok = writePng(resized(cell, size), dir + "/" + name + ".png") && ok;
    }
    return ok;
}

// The sheet is the asset tool's own 24-bit BMP, whose rows are stored in the order the game
// reads them: the file's first row is the top row of icon 0 (see SheetBuilder::writeBmp).
bool DesktopIconBuilder::readIconCell(int icon, Picture& cell) {
    std::string bmp;
    if (!ToolSupport::readFile(sheetPath, bmp))
        return false;
    using namespace ToolSupport;
    const size_t rowBytes = bmpRowBytes(iconSheetSide);
    if (bmp.size() < bmpHeaderSize || bmp.compare(0, 2, bmpMagic) != 0 ||
        readLe(bmp, bmpWidth) != iconSheetSide || readLe(bmp, bmpHeight) != iconSheetSide ||
        readLe(bmp, bmpBitsPerPixel) != bmpBits || readLe(bmp, bmpCompression) != bmpUncompressed)
        return fail(sheetPath, "is not a " + std::to_string(iconSheetSide) + " x " +
                                   std::to_string(iconSheetSide) + " uncompressed 24-bit BMP");
    const size_t pixels = readLe(bmp, bmpPixelsAt);
    if (pixels < bmpHeaderSize || bmp.size() < pixels + rowBytes * iconSheetSide)
        return fail(sheetPath, "ends before its last row of pixels");

    cell.width = cell.height = iconCellSize;
    cell.rgb.resize(iconCellSize * iconCellSize * 3);
    const int left = (icon % iconsPerRow) * iconCellSize;
    const int top = (icon / iconsPerRow) * iconCellSize;
    for (int y = 0; y < iconCellSize; ++y)
        for (int x = 0; x < iconCellSize; ++x) {
            const size_t from = pixels + (top + y) * rowBytes + (left + x) * bmpPixelBytes;
            uint8_t* to = &cell.rgb[(size_t(y) * iconCellSize + x) * 3];
            for (int c = 0; c < 3; ++c)
                to[c] = static_cast<uint8_t>(bmp[from + 2 - c]); // BMP pixels are blue first
        }
    return true;
}

DesktopIconBuilder::Picture DesktopIconBuilder::resized(const Picture& from, int size) {
    Picture to;
    to.width = to.height = size;
    to.rgb.resize(size_t(size) * size * 3);
    const double step = double(from.width) / size; // source pixels a destination pixel spans
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double sum[3] = {0, 0, 0};
            for (int sy = int(y * step); sy < from.height && sy < (y + 1) * step; ++sy)
                for (int sx = int(x * step); sx < from.width && sx < (x + 1) * step; ++sx) {
                    const double weight = overlap(sx, x * step, (x + 1) * step) *
                                          overlap(sy, y * step, (y + 1) * step);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += weight * from.rgb[(size_t(sy) * from.width + sx) * 3 + c];
                }
            for (int c = 0; c < 3; ++c)
                to.rgb[(size_t(y) * size + x) * 3 + c] =
                    static_cast<uint8_t>(std::lround(sum[c] / (step * step)));
        }
    return to;
}

bool DesktopIconBuilder::writePng(const Picture& picture, const std::string& path) {
    std::string header;
    putBe(header, static_cast<uint32_t>(picture.width));
    putBe(header, static_cast<uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter, rows
    std::string rows;
    for (int y = 0; y < picture.height; ++y) {
        rows.push_back('\0'); // the row's filter: none
        const auto begin = picture.rgb.begin() + size_t(y) * picture.width * 3;
        rows.append(begin, begin + picture.width * 3);
    }
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
                            pngChunk("IDAT", storedZlib(rows)) + pngChunk("IEND", "");
    return ToolSupport::writeFile(path, png);
}
