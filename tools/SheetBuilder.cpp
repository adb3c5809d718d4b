// Turns the text pixel art in assets/font and assets/icons into the game's BMP sheets.
#include "tools/SheetBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {
const int firstCode = 32;
const int lastCode = 126;
const int glyphRows = 8;
const int iconSize = 64;
const uint32_t ink = 0xFFFFFF;

// Reads a text file as lines without their line ends; false if it cannot be opened.
bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

bool fail(const std::string& where, const std::string& what) {
    std::cout << where << ": " << what << std::endl;
    return false;
}

std::string at(const std::string& path, size_t lineIndex) {
    return path + ":" + std::to_string(lineIndex + 1);
}

bool isComment(const std::string& line) {
    return line.empty() || line[0] == '#';
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
} // namespace

void SheetBuilder::Chart::set(int x, int y, uint32_t colour) {
    uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
}

bool SheetBuilder::buildAll() {
    bool fontsOk = buildFontSheets();
    bool iconsOk = buildIconSheet();
    return fontsOk && iconsOk;
}

// glyphs.txt: comment lines start with '#'; each glyph is a line "glyph CODE [name]" followed
// by 8 rows of 8 characters, 'X' for ink and '.' for paper. Every code 32 to 126 once.
bool SheetBuilder::readGlyphs(std::vector<Glyph>& glyphs) {
    const std::string path = assetsDir + "/font/glyphs.txt";
    std::vector<std::string> lines;
    if (!readLines(path, lines))
        return fail(path, "cannot be read");
    glyphs.assign(lastCode - firstCode + 1, Glyph());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (isComment(lines[i]))
            continue;
        int code = -1;
        char rest = 0;
        if (std::sscanf(lines[i].c_str(), "glyph %d%c", &code, &rest) < 1 ||
            (rest != 0 && rest != ' '))
            return fail(at(path, i), "expected \"glyph CODE\", found \"" + lines[i] + "\"");
        if (code < firstCode || code > lastCode)
            return fail(at(path, i), "code " + std::to_string(code) + " is not 32 to 126");
        Glyph& glyph = glyphs[code - firstCode];
        if (!glyph.empty())
            return fail(at(path, i), "second glyph for code " + std::to_string(code));
        for (int row = 0; row < glyphRows; ++row) {
            ++i;
            if (i >= lines.size())
                return fail(path, "glyph " + std::to_string(code) + " ends after " +
                                      std::to_string(row) + " rows, expected 8");
            const std::string& r = lines[i];
            if (r.size() != 8 || r.find_first_not_of(".X") != std::string::npos)
                return fail(at(path, i),
                            "expected 8 characters of 'X' or '.', found \"" + r + "\"");
            glyph.push_back(r);
        }
    }
    for (int code = firstCode; code <= lastCode; ++code)
        if (glyphs[code - firstCode].empty())
            return fail(path, "no glyph for code " + std::to_string(code));
    return true;
}

// Entry j = code - 32 + 128 * set sits in chart column j mod 16, chart row j div 16. Set 0 is
// the glyph as drawn; set 1 is its inverted style, paper glyph on an inked cell.
// The big sheet doubles every pixel into 16-px cells, the small one keeps 8-px cells.
bool SheetBuilder::buildFontSheets() {
    std::vector<Glyph> glyphs;
    if (!readGlyphs(glyphs))
        return false;
    bool ok = true;
    for (int scale : {2, 1}) {
        const int cell = glyphRows * scale;
        Chart chart(16 * cell, 16 * cell);
        for (int set = 0; set < 2; ++set) {
            for (int code = firstCode; code <= lastCode; ++code) {
                const Glyph& glyph = glyphs[code - firstCode];
                const int j = code - firstCode + 128 * set;
                for (int gy = 0; gy < glyphRows; ++gy) {
                    for (int gx = 0; gx < 8; ++gx) {
                        if ((glyph[gy][gx] == 'X') == (set == 1))
                            continue;
                        for (int dy = 0; dy < scale; ++dy)
                            for (int dx = 0; dx < scale; ++dx)
                                chart.set((j % 16) * cell + gx * scale + dx,
                                          (j / 16) * cell + gy * scale + dy, ink);
                    }
                }
            }
        }
        ok = writeBmp(chart, scale == 2 ? "font.bmp" : "smallfont.bmp") && ok;
    }
    return ok;
}

// palette.txt: lines "C RRGGBB". NN.txt (00 to 63): comment lines, an optional "scale N"
// (1, 2 or 4), then 64/N rows of 64/N palette characters; each becomes an N x N block. Icon n
// sits in chart column n mod 8, chart row n div 8. Icons without a file stay black.
bool SheetBuilder::buildIconSheet() {
    const std::string dir = assetsDir + "/icons";
    Chart chart(8 * iconSize, 8 * iconSize);
    std::map<char, uint32_t> palette;
    bool paletteRead = false;
    for (int n = 0; n < 64; ++n) {
        char name[8];
        std::snprintf(name, sizeof name, "%02d.txt", n);
        const std::string path = dir + "/" + name;
        std::vector<std::string> lines;
        if (!std::filesystem::exists(path))
            continue;
        if (!readLines(path, lines))
            return fail(path, "cannot be read");
        if (!paletteRead) {
            const std::string palettePath = dir + "/palette.txt";
            std::vector<std::string> paletteLines;
            if (!readLines(palettePath, paletteLines))
                return fail(palettePath, "cannot be read");
            for (size_t i = 0; i < paletteLines.size(); ++i) {
                const std::string& l = paletteLines[i];
                if (isComment(l))
                    continue;
                uint32_t colour;
                if (l.size() != 8 || l[1] != ' ' || !parseHex(l.substr(2), colour))
                    return fail(at(palettePath, i), "expected \"C RRGGBB\", found \"" + l + "\"");
                if (palette.count(l[0]))
                    return fail(at(palettePath, i),
                                std::string("character '") + l[0] + "' defined twice");
                palette[l[0]] = colour;
            }
            paletteRead = true;
        }
        int scale = 1;
        int rows = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& l = lines[i];
            if (isComment(l))
                continue;
            if (rows == 0 && l.compare(0, 6, "scale ") == 0) {
                if (l != "scale 1" && l != "scale 2" && l != "scale 4")
                    return fail(at(path, i), "scale must be 1, 2 or 4, found \"" + l + "\"");
                scale = l[6] - '0';
                continue;
            }
            const int side = iconSize / scale;
            if (rows == side)
                return fail(at(path, i), "more than " + std::to_string(side) + " rows");
            if (static_cast<int>(l.size()) != side)
                return fail(at(path, i), "row has " + std::to_string(l.size()) +
                                             " characters, expected " + std::to_string(side));
            for (int x = 0; x < side; ++x) {
                auto colour = palette.find(l[x]);
                if (colour == palette.end())
                    return fail(at(path, i),
                                std::string("character '") + l[x] + "' is not in the palette");
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        chart.set((n % 8) * iconSize + x * scale + dx,
                                  (n / 8) * iconSize + rows * scale + dy, colour->second);
            }
            ++rows;
        }
        if (rows != iconSize / scale)
            return fail(path, "has " + std::to_string(rows) + " rows, expected " +
                                  std::to_string(iconSize / scale));
    }
    return writeBmp(chart, "icons.bmp");
}

// A 24-bit BMP stores its rows bottom-up. The chart's rows go out in chart order, so the
// picture a viewer sees is the chart mirrored top to bottom: exactly what the game's
// texture-matrix flip reads upright.
bool SheetBuilder::writeBmp(const Chart& chart, const std::string& name) {
    const std::string dir = outDir + "/textures";
    const std::string path = dir + "/" + name;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const uint32_t rowBytes = (chart.width * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * chart.height;
    std::string bmp;
    auto put16 = [&bmp](uint32_t v) {
        bmp.push_back(static_cast<char>(v & 0xFF));
        bmp.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto put32 = [&put16](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    bmp += "BM";
    put32(54 + imageBytes);
    put32(0);
    put32(54); // pixels follow the two headers
    put32(40);
    put32(chart.width);
    put32(chart.height);
    put16(1);
    put16(24);
    put32(0); // uncompressed
    put32(imageBytes);
    put32(2835); // 72 dots per inch
    put32(2835);
    put32(0);
    put32(0);
    for (int y = 0; y < chart.height; ++y) {
        const uint8_t* row = &chart.rgb[static_cast<size_t>(y) * chart.width * 3];
        for (int x = 0; x < chart.width; ++x) {
            bmp.push_back(static_cast<char>(row[3 * x + 2]));
            bmp.push_back(static_cast<char>(row[3 * x + 1]));
            bmp.push_back(static_cast<char>(row[3 * x]));
        }
        bmp.append(rowBytes - chart.width * 3, '\0');
    }
    std::ofstream out(path, std::ios::binary);
    if (!out || !out.write(bmp.data(), static_cast<std::streamsize>(bmp.size())) || !out.flush())
        return fail(path, "cannot be written");
    return true;
}
