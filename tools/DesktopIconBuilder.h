// Makes the game's desktop icon, the boy's cell of the icon sheet, as PNG files at the sizes a
// desktop's icon theme looks for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class DesktopIconBuilder {
  public:
    // sheetPath: the game's textures/icons.bmp. name: the icon's file name without ".png".
    DesktopIconBuilder(const std::string& sheetPath, const std::string& outDir,
                       const std::string& name, const std::vector<int>& sizes)
        : sheetPath(sheetPath), outDir(outDir), name(name), sizes(sizes) {}
    // Writes OUT/NxN/apps/NAME.png for every size of `sizes`, byte for byte the same for the
    // same sheet. Returns false, after one line naming the file at fault, when the sheet is not
    // the game's 24-bit sheet or a file cannot be written.
    bool buildAll();

    std::string sheetPath;
    std::string outDir;
    std::string name;
    std::vector<int> sizes; // in pixels, each side; the build's list (packaging/CMakeLists.txt)

  private:
    struct Picture {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rgb; // 3 bytes a pixel, red first, top row first
    };

    bool readIconCell(int icon, Picture& cell);
    // Each pixel of the result is the average of the source area it covers, so whole-number
    // enlargements keep the pixel art sharp and reductions blend it evenly.
    static Picture resized(const Picture& from, int size);
    bool writePng(const Picture& picture, const std::string& path);
};
