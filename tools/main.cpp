// assetgen: turns the readable sources in assets/ into the data files the game reads.
// Usage: assetgen ASSETS_DIR OUT_DIR   (writes OUT_DIR/textures/*.bmp and OUT_DIR/audio/*.wav)
#include <iostream>

#include "tools/SheetBuilder.h"
#include "tools/SoundBuilder.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cout << "usage: assetgen ASSETS_DIR OUT_DIR" << std::endl;
        return 2;
    }
    bool sheetsOk = SheetBuilder(argv[1], argv[2]).buildAll();
    bool soundsOk = SoundBuilder(argv[1], argv[2]).buildAll();
    return sheetsOk && soundsOk ? 0 : 1;
}
