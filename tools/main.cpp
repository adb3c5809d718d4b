// assetgen: turns the readable sources in assets/ into the data files the game reads.
// Usage: assetgen ASSETS_DIR OUT_DIR   (writes OUT_DIR/textures/*.bmp and OUT_DIR/audio/*.wav)
#include <filesystem>
#include <iostream>

#include "tools/SheetBuilder.h"
#include "tools/SoundBuilder.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cout << "usage: assetgen ASSETS_DIR OUT_DIR" << std::endl;
        return 2;
    }
    // The builders use the filesystem calls that report by error code; this catch is only the
    // last guard, so that a throwing call added later still ends in a message, not an abort.
    try {
        bool sheetsOk = SheetBuilder(argv[1], argv[2]).buildAll();
        bool soundsOk = SoundBuilder(argv[1], argv[2]).buildAll();
        return sheetsOk && soundsOk ? 0 : 1;
    } catch (const std::filesystem::filesystem_error& error) {
        std::cout << error.path1().string() << ": " << error.code().message() << std::endl;
    } catch (const std::exception& error) {
        std::cout << "assetgen: " << error.what() << std::endl;
    }
    return 1;
}
