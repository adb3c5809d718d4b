// assetgen: turns the readable sources in assets/ into the data files the game reads, and the
// icon sheet into the desktop icon.
// Usage: assetgen ASSETS_DIR OUT_DIR   (writes OUT_DIR/textures/*.bmp and OUT_DIR/audio/*.wav)
//        assetgen --desktop-icon SHEET OUT_DIR NAME N...   (writes OUT_DIR/NxN/apps/NAME.png)
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "tools/DesktopIconBuilder.h"
#include "tools/SheetBuilder.h"
#include "tools/SoundBuilder.h"
#include "tools/ToolSupport.h"

namespace {
const long largestIcon = 1024;

// The icon sizes given on the command line, in pixels; false after naming one that is none.
bool readIconSizes(int count, char* texts[], std::vector<int>& sizes) {
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        const long size = std::strtol(texts[i], &end, 10);
        if (end == texts[i] || *end != '\0' || size < 1 || size > largestIcon) {
            std::cout << texts[i] << ": is not an icon size from 1 to " << largestIcon << " px"
                      << std::endl;
            return false;
        }
        sizes.push_back(static_cast<int>(size));
    }
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    const bool desktopIcon = argc >= 6 && std::strcmp(argv[1], "--desktop-icon") == 0;
    std::vector<int> iconSizes;
    if (argc != 3 && !desktopIcon) {
        std::cout << "usage: assetgen ASSETS_DIR OUT_DIR\n"
                     "       assetgen --desktop-icon SHEET OUT_DIR NAME N..."
                  << std::endl;
        return 2;
    }
    if (desktopIcon && !readIconSizes(argc - 5, argv + 5, iconSizes))
        return 2;
    // The builders use the filesystem calls that report by error code; this catch is only the
    // last guard, so that a throwing call added later still ends in a message, not an abort.
    try {
        if (desktopIcon)
            return DesktopIconBuilder(argv[2], argv[3], argv[4], iconSizes).buildAll() ? 0 : 1;
        bool sheetsOk = SheetBuilder(argv[1], argv[2]).buildAll();
        bool soundsOk = SoundBuilder(argv[1], argv[2]).buildAll();
        return sheetsOk && soundsOk ? 0 : 1;
    } catch (const std::filesystem::filesystem_error& error) {
        ToolSupport::fail(error.path1().string(), error.code().message());
    } catch (const std::exception& error) {
        ToolSupport::fail("assetgen", error.what());
    }
    return 1;
}
