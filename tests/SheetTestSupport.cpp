// Helpers for the sheet tests.
#include "tests/SheetTestSupport.h"

#include <SDL/SDL.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
// Scratch folders are removed when the test process ends.
struct ScratchFolders {
    std::vector<std::string> paths;
    ~ScratchFolders() {
        std::error_code error;
        for (const std::string& path : paths)
            fs::remove_all(path, error);
    }
} scratchFolders;
} // namespace

std::string makeScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "wanderkin-sheets-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return std::string();
    scratchFolders.paths.push_back(pattern);
    return pattern;
}

std::string scratchAssets(const std::map<std::string, std::string>& iconFiles, bool withIcons) {
    const fs::path assets = fs::path(makeScratchDir()) / "assets";
    fs::copy(sourcePath("assets"), assets, fs::copy_options::recursive);
    fs::remove_all(assets / "icons");
    if (withIcons) {
        fs::create_directories(assets / "icons");
        for (const auto& [name, content] : iconFiles)
            std::ofstream(assets / "icons" / name, std::ios::binary) << content;
    }
    return assets.string();
}

int runAssetTool(const std::string& assetsDir, const std::string& outDir, std::string& output) {
    const std::string command =
        std::string("'") + WANDERKIN_ASSETGEN + "' '" + assetsDir + "' '" + outDir + "' 2>&1";
    output.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

SheetPicture::SheetPicture(const std::string& path) {
    SDL_Surface* picture = SDL_LoadBMP(path.c_str());
    if (!picture)
        return;
    bits = picture->format->BitsPerPixel;
    w = picture->w;
    h = picture->h;
    rgb.resize(static_cast<size_t>(w) * h * 3);
    SDL_LockSurface(picture);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Uint8* p = static_cast<const Uint8*>(picture->pixels) + y * picture->pitch +
                             x * picture->format->BytesPerPixel;
            Uint32 value = 0; // pixels are little-endian on the machines we test on
            for (int b = picture->format->BytesPerPixel - 1; b >= 0; --b)
                value = value << 8 | p[b];
            Uint8 r, g, bl;
            SDL_GetRGB(value, picture->format, &r, &g, &bl);
            char* out = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            out[0] = static_cast<char>(r);
            out[1] = static_cast<char>(g);
            out[2] = static_cast<char>(bl);
        }
    SDL_UnlockSurface(picture);
    SDL_FreeSurface(picture);
}

Rgb SheetPicture::at(int x, int y) const {
    const char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
    return Rgb{static_cast<uint8_t>(p[0]), static_cast<uint8_t>(p[1]), static_cast<uint8_t>(p[2])};
}
