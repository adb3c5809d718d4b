// Turns the text pixel art in assets/font and assets/icons into the game's BMP sheets.
#include "tools/SheetBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "graphics/SheetGeometry.h"
#include "tools/ToolSupport.h"

using ToolSupport::fail;
using ToolSupport::readFile;
using ToolSupport::writeFile;

namespace {
const uint32_t ink = 0xFFFFFF;

// Reads a text file as lines without their line ends; says why and returns false if it
// cannot be read.
bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::string text;
    if (!readFile(path, text))
        return false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

std::string at(const std::string& path, size_t lineIndex) {
    return path + ":" + std::to_string(lineIndex + 1);
}

bool isComment(const std::string& line) {
    return line.empty() || line[0] == '#';
}

// "glyph CODE" or "glyph CODE name". strtol, unlike sscanf's %d, says a huge code is huge
// instead of wrapping it into the range of valid codes.
bool parseGlyphHeader(const std::string& line, long& code) {
    if (line.compare(0, 5, "glyph") != 0)
        return false;
    const char* digits = line.c_str() + 5;
    char* end = nullptr;
    code = std::strtol(digits, &end, 10);
    return end != digits && (*end == '\0' || *end == ' ');
}

bool parseHex(const std::string& digits, uint32_t& value) {
    if (digits.size() != 6)
        return false;
    value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        value = value * 16 + d;
    }
    return true;
}

bool isScaleLine(const std::string& line) {
    return line.compare(0, 6, "scale ") == 0;
}

bool parseScale(const std::string& line, int& scale) {
    if (line != "scale 1" && line != "scale 2" && line != "scale 4")
        return false;
    scale = line[6] - '0';
    return true;
}

// The two headers of the sheet's BMP, for a picture of width x height.
std::string bmpHeaders(int width, int height) {
    using namespace ToolSupport;
    const uint32_t imageBytes = bmpRowBytes(width) * height;
    std::string bmp(bmpHeaderSize, '\0');
    bmp.replace(0, 2, bmpMagic);
    setLe(bmp, bmpFileSize, bmpHeaderSize + imageBytes);
    setLe(bmp, bmpPixelsAt, bmpHeaderSize);
    setLe(bmp, bmpInfoSize, bmpHeaderSize - bmpInfoSize.at);
    setLe(bmp, bmpWidth, width);
    setLe(bmp, bmpHeight, height);
    setLe(bmp, bmpPlanes, 1);
    setLe(bmp, bmpBitsPerPixel, bmpBits);
    setLe(bmp, bmpCompression, bmpUncompressed);
    setLe(bmp, bmpImageSize, imageBytes);
    setLe(bmp, bmpPixelsPerMetreX, 2835); // 72 dots per inch
    setLe(bmp, bmpPixelsPerMetreY, 2835);
    return bmp;
}
} // namespace

void SheetBuilder::Chart::set(int x, int y, uint32_t colour) {
    uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
}

void SheetBuilder::Chart::fill(int x, int y, int size, uint32_t colour) {
    for (int dy = 0; dy < size; ++dy)
        for (int dx = 0; dx < size; ++dx)
            set(x + dx, y + dy, colour);
}

bool SheetBuilder::buildAll() {
    bool fontsOk = buildFontSheets();
    bool iconsOk = buildIconSheet();
    return fontsOk && iconsOk;
}

// Entry j = code - 32 + 128 * set sits in chart column j mod 16, chart row j div 16. Set 0 is
// the glyph as drawn; set 1 is its inverted style, paper glyph on an inked cell.
// The big sheet doubles every pixel into 16-px cells, the small one keeps 8-px cells.
bool SheetBuilder::buildFontSheets() {
    std::vector<Glyph> glyphs;
    if (!readGlyphs(glyphs))
        return false;
    const struct {
        int cellSize;
        int side;
        const char* name;
    } sheets[] = {{bigGlyphSize, bigFontSheetSide, "font.bmp"},
                  {smallGlyphSize, smallFontSheetSide, "smallfont.bmp"}};
    bool ok = true;
    for (const auto& sheet : sheets) {
        Chart chart(sheet.side, sheet.side);
        for (int set = 0; set < 2; ++set)
            for (int code = firstGlyphCode; code <= lastGlyphCode; ++code)
                paintGlyph(glyphs[code - firstGlyphCode],
                           code - firstGlyphCode + glyphsPerSet * set, set == 1,
                           sheet.cellSize / glyphPixels, chart);
        ok = writeBmp(chart, sheet.name) && ok;
    }
    return ok;
}

// glyphs.txt: comment lines start with '#'; each glyph is a line "glyph CODE [name]" followed
// by 8 rows of 8 characters, 'X' for ink and '.' for paper. Every code 32 to 126 once.
bool SheetBuilder::readGlyphs(std::vector<Glyph>& glyphs) {
    const std::string path = assetsDir + "/font/glyphs.txt";
    std::vector<std::string> lines;
    if (!readLines(path, lines))
        return false;
    glyphs.assign(lastGlyphCode - firstGlyphCode + 1, Glyph());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (isComment(lines[i]))
            continue;
        long code = -1;
        if (!parseGlyphHeader(lines[i], code))
            return fail(at(path, i), "expected \"glyph CODE\", found \"" + lines[i] + "\"");
        if (code < firstGlyphCode || code > lastGlyphCode)
            return fail(at(path, i), "code " + std::to_string(code) + " is not " +
                                         std::to_string(firstGlyphCode) + " to " +
                                         std::to_string(lastGlyphCode));
        Glyph& glyph = glyphs[code - firstGlyphCode];
        if (!glyph.empty())
            return fail(at(path, i), "second glyph for code " + std::to_string(code));
        if (!readGlyphRows(path, lines, i, glyph))
            return false;
    }
    for (int code = firstGlyphCode; code <= lastGlyphCode; ++code)
        if (glyphs[code - firstGlyphCode].empty())
            return fail(path, "no glyph for code " + std::to_string(code));
    return true;
}

bool SheetBuilder::readGlyphRows(const std::string& path, const std::vector<std::string>& lines,
                                 size_t& line, Glyph& glyph) {
    const size_t header = line;
    for (int row = 0; row < glyphPixels; ++row) {
        if (++line >= lines.size())
            return fail(at(path, header), "glyph ends after " + std::to_string(row) +
                                              " rows, expected " + std::to_string(glyphPixels));
        const std::string& r = lines[line];
        if (r.size() != glyphPixels || r.find_first_not_of(".X") != std::string::npos)
            return fail(at(path, line), "expected " + std::to_string(glyphPixels) +
                                            " characters of 'X' or '.', found \"" + r + "\"");
        glyph.push_back(r);
    }
    return true;
}

void SheetBuilder::paintGlyph(const Glyph& glyph, int entry, bool inverted, int scale,
                              Chart& chart) {
    const int cell = glyphPixels * scale;
    const int left = (entry % glyphsPerRow) * cell;
    const int top = (entry / glyphsPerRow) * cell;
    for (int gy = 0; gy < glyphPixels; ++gy)
        for (int gx = 0; gx < glyphPixels; ++gx)
            if ((glyph[gy][gx] == 'X') != inverted)
                chart.fill(left + gx * scale, top + gy * scale, scale, ink);
}

// NN.txt (00 to 63) each hold one icon, painted in chart column NN mod 8, chart row NN div 8.
// Icons without a file stay black; the palette is read once the first icon turns up.
bool SheetBuilder::buildIconSheet() {
    const std::string dir = assetsDir + "/icons";
    Chart chart(iconSheetSide, iconSheetSide);
    Palette palette;
    bool paletteRead = false;
    for (int n = 0; n < iconCount; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d.txt", n);
        const std::string path = dir + "/" + name;
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            if (error)
                return fail(path, error.message());
            continue;
        }
        if (!paletteRead && !readPalette(dir + "/palette.txt", palette))
            return false;
        paletteRead = true;
        if (!readIcon(path, palette, n, chart))
            return false;
    }
    return writeBmp(chart, "icons.bmp");
}

// palette.txt: comment lines, and lines "C RRGGBB", one for each character.
bool SheetBuilder::readPalette(const std::string& path, Palette& palette) {
    std::vector<std::string> lines;
    if (!readLines(path, lines))
        return false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (isComment(l))
            continue;
        uint32_t colour;
        if (l.size() != 8 || l[1] != ' ' || !parseHex(l.substr(2), colour))
            return fail(at(path, i), "expected \"C RRGGBB\", found \"" + l + "\"");
        if (palette.count(l[0]))
            return fail(at(path, i), std::string("character '") + l[0] + "' defined twice");
        palette[l[0]] = colour;
    }
    return true;
}

// An icon file: comment lines, an optional "scale N" (1, 2 or 4), then 64/N rows of 64/N
// palette characters; each character becomes an N x N block.
bool SheetBuilder::readIcon(const std::string& path, const Palette& palette, int icon,
                            Chart& chart) {
    std::vector<std::string> lines;
    if (!readLines(path, lines))
        return false;
    int scale = 1;
    int rows = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (isComment(line))
            continue;
        if (isScaleLine(line)) {
            if (rows > 0)
                return fail(at(path, i), "the scale must come before the first row");
            if (!parseScale(line, scale))
                return fail(at(path, i), "scale must be 1, 2 or 4, found \"" + line + "\"");
            continue;
        }
        if (rows == iconCellSize / scale)
            return fail(at(path, i), "more than " + std::to_string(rows) + " rows");
        const std::string problem = paintIconRow(line, palette, icon, rows, scale, chart);
        if (!problem.empty())
            return fail(at(path, i), problem);
        ++rows;
    }
    if (rows != iconCellSize / scale)
        return fail(path, "has " + std::to_string(rows) + " rows, expected " +
                              std::to_string(iconCellSize / scale));
    return true;
}

std::string SheetBuilder::paintIconRow(const std::string& row, const Palette& palette, int icon,
                                       int y, int scale, Chart& chart) {
    const int side = iconCellSize / scale;
    if (static_cast<int>(row.size()) != side)
        return "row has " + std::to_string(row.size()) + " characters, expected " +
               std::to_string(side);
    const int left = (icon % iconsPerRow) * iconCellSize;
    const int top = (icon / iconsPerRow) * iconCellSize + y * scale;
    for (int x = 0; x < side; ++x) {
        auto colour = palette.find(row[x]);
        if (colour == palette.end())
            return std::string("character '") + row[x] + "' is not in the palette";
        chart.fill(left + x * scale, top, scale, colour->second);
    }
    return "";
}

// A 24-bit BMP stores its rows bottom-up. The chart's rows go out in chart order, so the
// picture a viewer sees is the chart mirrored top to bottom: exactly what the game's
// texture-matrix flip reads upright.
bool SheetBuilder::writeBmp(const Chart& chart, const std::string& name) {
    const std::string dir = outDir + "/textures";
    std::error_code error;
    std::filesystem::create_directories(dir, error); // a failure shows when the file is written
    const size_t rowBytes = ToolSupport::bmpRowBytes(chart.width);
    std::string bmp = bmpHeaders(chart.width, chart.height);
    for (int y = 0; y < chart.height; ++y) {
        const uint8_t* row = &chart.rgb[static_cast<size_t>(y) * chart.width * 3];
        for (int x = 0; x < chart.width; ++x) {
            bmp.push_back(static_cast<char>(row[3 * x + 2]));
            bmp.push_back(static_cast<char>(row[3 * x + 1]));
            bmp.push_back(static_cast<char>(row[3 * x]));
        }
        bmp.append(rowBytes - chart.width * ToolSupport::bmpPixelBytes, '\0');
    }
    return writeFile(dir + "/" + name, bmp);
}
