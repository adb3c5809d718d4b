// assetgen: turns the readable sources in assets/ into the data files the game reads, and the
// icon sheet into the desktop icon.
// Usage: assetgen ASSETS_DIR OUT_DIR   (writes OUT_DIR/textures/*.bmp and OUT_DIR/audio/*.wav)
//        assetgen --desktop-icon SHEET OUT_DIR NAME   (writes OUT_DIR/NxN/apps/NAME.png)
#include <cstring>
#include <filesystem>
#include <iostream>

#include "tools/DesktopIconBuilder.h"
#include "tools/SheetBuilder.h"
#include "tools/SoundBuilder.h"
#include "tools/ToolSupport.h"

int main(int argc, char* argv[]) {
    const bool desktopIcon = argc == 5 && std::strcmp(argv[1], "--desktop-icon") == 0;
    if (argc != 3 && !desktopIcon) {
        std::cout << "usage: assetgen ASSETS_DIR OUT_DIR\n"
                     "       assetgen --desktop-icon SHEET OUT_DIR NAME"
                  << std::endl;
        return 2;
    }
    // The builders use the filesystem calls that report by error code; this catch is only the
    // last guard, so that a throwing call added later still ends in a message, not an abort.
    try {
        if (desktopIcon)
            return DesktopIconBuilder(argv[2], argv[3], argv[4]).buildAll() ? 0 : 1;
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
