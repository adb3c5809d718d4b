// Builds the game's picture sheets from their text sources: the two font sheets from
// assets/font/glyphs.txt and the icon sheet from assets/icons/ (palette.txt and NN.txt).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class SheetBuilder {
  public:
    SheetBuilder(const std::string& assetsDir, const std::string& outDir)
        : assetsDir(assetsDir), outDir(outDir) {}
    // Writes OUT/textures/font.bmp (256 x 256), smallfont.bmp (128 x 128) and icons.bmp
    // (512 x 512), 24-bit and byte for byte the same for the same sources. Returns false, after
    // one line naming the file (and line) at fault, when a source is malformed or a file
    // cannot be read or written; sheets already written stay.
    bool buildAll();

    std::string assetsDir;
    std::string outDir;

  private:
    // A picture held as rows in the order the game's sheet lookups read them: row 0 is the top
    // row of the first chart row of cells (glyph entry 0 or icon 0), every cell upright.
    struct Chart {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rgb; // 3 bytes a pixel, red first

        Chart(int width, int height) : width(width), height(height), rgb(width * height * 3) {}
        void set(int x, int y, uint32_t colour);
        // Paints the size x size square whose top left pixel is (x, y).
        void fill(int x, int y, int size, uint32_t colour);
    };
    // 8 x 8 ink maps for codes 32 to 126, indexed by code - 32.
    using Glyph = std::vector<std::string>;
    // Colour (0xRRGGBB) of each character an icon may use.
    using Palette = std::map<char, uint32_t>;

    bool buildFontSheets();
    bool readGlyphs(std::vector<Glyph>& glyphs);
    // Reads the rows after the header at lines[line]; leaves line on the glyph's last row.
    bool readGlyphRows(const std::string& path, const std::vector<std::string>& lines, size_t& line,
                       Glyph& glyph);
    void paintGlyph(const Glyph& glyph, int entry, bool inverted, int scale, Chart& chart);

    bool buildIconSheet();
    bool readPalette(const std::string& path, Palette& palette);
    // Reads icon number `icon` from its file and paints it into its cell of the chart.
    bool readIcon(const std::string& path, const Palette& palette, int icon, Chart& chart);
    // Paints one row of an icon; returns what is wrong with the row, or "" when nothing is.
    std::string paintIconRow(const std::string& row, const Palette& palette, int icon, int y,
                             int scale, Chart& chart);

    bool writeBmp(const Chart& chart, const std::string& name);
};
