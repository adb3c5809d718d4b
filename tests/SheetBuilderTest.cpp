// The asset tool's sheets: the committed ones are its output, and its sources are checked.
#include <gtest/gtest.h>

#include <string>

#include "tests/SheetTestSupport.h"

namespace {
std::string source(const char* name) {
    return sourcePath(std::string("textures/") + name);
}

// One icon picture at scale 4: 16 rows of 16 characters, four quadrants.
std::string quadrantIcon() {
    std::string rows = "# four quadrants\nscale 4\n";
    for (int y = 0; y < 16; ++y)
        rows += y < 8 ? "RRRRRRRRGGGGGGGG\n" : "BBBBBBBBWWWWWWWW\n";
    return rows;
}

const char* palette = "# test colours\nR ff0000\nG 00FF00\n\nB 0000ff\nW ffffff\n. 000000\n";
} // namespace

TEST(SheetBuilder, CommittedSheetsAreTheToolsOutput) {
    const std::string out = makeScratchDir();
    std::string output;
    runAssetTool(sourcePath("assets"), out, output);
    for (const char* name : {"font.bmp", "smallfont.bmp", "icons.bmp"}) {
        const std::string built = fileBytes(out + "/textures/" + name);
        ASSERT_FALSE(built.empty()) << name << " was not built: " << output;
        EXPECT_TRUE(built == fileBytes(source(name)))
            << "textures/" << name << " differs from what assets/ gives: regenerate it with "
            << "assetgen assets OUT and copy OUT/textures/" << name << " over it";
    }
    const struct {
        const char* name;
        int size;
    } sheets[] = {{"font.bmp", 256}, {"smallfont.bmp", 128}, {"icons.bmp", 512}};
    for (const auto& sheet : sheets) {
        SheetPicture picture(source(sheet.name));
        ASSERT_TRUE(picture.loaded()) << sheet.name;
        EXPECT_EQ(picture.width(), sheet.size) << sheet.name;
        EXPECT_EQ(picture.height(), sheet.size) << sheet.name;
        EXPECT_EQ(picture.bitsPerPixel(), 24) << sheet.name;
    }
}

TEST(SheetBuilder, IconsLandWhereTheGameReadsThemMirroredTopToBottom) {
    std::map<std::string, std::string> icons = {{"palette.txt", palette},
                                                {"00.txt", quadrantIcon()}};
    const std::string out = makeScratchDir();
    std::string output;
    EXPECT_EQ(runAssetTool(scratchAssets(icons), out, output), 0) << output;
    SheetPicture sheet(out + "/textures/icons.bmp");
    ASSERT_TRUE(sheet.loaded());
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255},
        black{0, 0, 0};
    // Icon 0 is the bottom-left cell of the picture, upside down: its top row (red, green) is
    // the picture's bottom row. Each source pixel is a 4 x 4 block.
    EXPECT_EQ(sheet.at(0, 511), red);
    EXPECT_EQ(sheet.at(31, 480), red);
    EXPECT_EQ(sheet.at(32, 511), green);
    EXPECT_EQ(sheet.at(63, 480), green);
    EXPECT_EQ(sheet.at(0, 479), blue);
    EXPECT_EQ(sheet.at(31, 448), blue);
    EXPECT_EQ(sheet.at(32, 479), white);
    EXPECT_EQ(sheet.at(63, 448), white);
    EXPECT_EQ(sheet.at(64, 511), black) << "icon 1 has no file and stays black";
}

TEST(SheetBuilder, MalformedIconSourcesAreNamedWithTheirLine) {
    const std::string row64 = std::string(64, 'R') + "\n";
    std::string fullIcon;
    for (int y = 0; y < 64; ++y)
        fullIcon += row64;
    const struct {
        const char* file;
        std::string content;
        std::string paletteText;
        const char* expected;
    } cases[] = {
        {"07.txt", "# short row\n" + row64 + std::string(63, 'R') + "\n", palette,
         "icons/07.txt:3: row has 63 characters, expected 64"},
        {"07.txt", "scale 2\n" + std::string(31, 'R') + "Q\n", palette,
         "icons/07.txt:2: character 'Q' is not in the palette"},
        {"63.txt", "scale 4\n" + std::string(16, 'G') + "\n", palette,
         "icons/63.txt: has 1 rows, expected 16"},
        {"07.txt", fullIcon + row64, palette, "icons/07.txt:65: more than 64 rows"},
        {"07.txt", fullIcon, "R ff0000\nG 00ff0\n", "icons/palette.txt:2: expected \"C RRGGBB\""},
    };
    for (const auto& c : cases) {
        const std::string out = makeScratchDir();
        std::string output;
        int status = runAssetTool(
            scratchAssets({{"palette.txt", c.paletteText}, {c.file, c.content}}), out, output);
        EXPECT_NE(status, 0) << c.expected;
        EXPECT_NE(output.find(c.expected), std::string::npos)
            << "expected \"" << c.expected << "\" in: " << output;
    }
    // A picture without a palette names the palette file.
    const std::string out = makeScratchDir();
    std::string output;
    EXPECT_NE(runAssetTool(scratchAssets({{"00.txt", fullIcon}}), out, output), 0);
    EXPECT_NE(output.find("icons/palette.txt: cannot be read"), std::string::npos) << output;
}
