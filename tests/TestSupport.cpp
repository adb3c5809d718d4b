// Shared test helpers: pictures, the data files' pictures, effects heard.
#include "tests/TestSupport.h"

#include <SDL/SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "app/Timer.h"
#include "graphics/SheetGeometry.h"
#include "sound/Effects.h"
#include "sound/SoundSystem.h"

namespace {
// Shuts SDL down inside main: at exit the audio thread and the GL driver's teardown could outlive
// the libraries they call into.
struct SdlShutDown : ::testing::Environment {
    void TearDown() override { SDL_Quit(); }
};
::testing::Environment* const sdlShutDown = ::testing::AddGlobalTestEnvironment(new SdlShutDown);
} // namespace

std::string sourcePath(const std::string& relative) {
    return std::string(WANDERKIN_SOURCE_DIR) + "/" + relative;
}

int Picture::count(Rgb colour) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

Rgb iconPixel(int n, int u, int v) {
    // Icon n is cell (n mod 8, n div 8) counted from the sheet's bottom row, which the file
    // holds first, and is shown mirrored top to bottom; 24 bits a pixel, blue first.
    static const std::vector<unsigned char> sheet = [] {
        std::ifstream in(sourcePath("textures/icons.bmp"), std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
    }();
    const size_t pixelsAt = sheet[10] | sheet[11] << 8 | sheet[12] << 16 | sheet[13] << 24;
    const int x = n % iconsPerRow * iconCellSize + u, y = n / iconsPerRow * iconCellSize + v;
    const unsigned char* p = &sheet.at(pixelsAt + (y * iconSheetSide + x) * 3);
    return {p[2], p[1], p[0]};
}

bool glyphInk(char c, int u, int v) {
    static const std::vector<std::string> glyphs = [] { // 8 rows of 'X' or '.' by code
        std::vector<std::string> read(glyphsPerSet);
        std::ifstream in(sourcePath("assets/font/glyphs.txt"));
        int code = -1;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("glyph ", 0) == 0)
                code = std::stoi(line.substr(6));
            else if (code >= 0 && !line.empty() && line[0] != '#')
                read.at(code) += line;
        return read;
    }();
    const std::string& glyph = glyphs.at(static_cast<unsigned char>(c) % glyphsPerSet);
    return glyph.size() == glyphPixels * glyphPixels && glyph[v * glyphPixels + u] == 'X';
}

::testing::AssertionResult showsText(const Picture& picture, int x, int y, const std::string& text,
                                     int set, Rgb ink) {
    const int cell = bigGlyphSize, scale = bigGlyphSize / glyphPixels;
    for (int i = 0; i < static_cast<int>(text.size()) * cell * cell; ++i) {
        const int k = i / (cell * cell), u = i % cell, v = i / cell % cell;
        const bool inked = glyphInk(text[k], u / scale, v / scale) != (set == 1);
        if (picture.at(x + cell * k + u, y + v) != (inked ? ink : black))
            return ::testing::AssertionFailure() << "'" << text[k] << "' of \"" << text << "\"";
    }
    return ::testing::AssertionSuccess();
}

SDL_Event* keyEvent(SDLKey key, Uint8 type) {
    static SDL_Event e;
    return e.key = {type, 0, 0, {0, key, KMOD_NONE, 0}}, &e;
}

SubengineInterface* soundOnly() {
    static SubengineInterface* subsystems = nullptr;
    if (!subsystems) {
        subsystems = new SubengineInterface{new Timer, nullptr, new SoundSystem};
        for (const char* file : effectFiles) // as the engine loads them
            subsystems->sound->loadSound(file);
    }
    return subsystems;
}

std::string heard(const std::function<void()>& action) {
    SDL_PauseAudio(1); // nothing ends while we listen
    Mix_HaltChannel(-1);
    action();
    static const char* const names[] = {"blipn", "bigblip", "good", "bad"};
    static std::vector<Mix_Chunk*>& files = *new std::vector<Mix_Chunk*>; // kept to the end
    for (size_t i = files.size(); i < std::size(names); ++i)
        files.push_back(Mix_LoadWAV(sourcePath(std::string("audio/") + names[i] + ".wav").c_str()));
    std::string said;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
        for (size_t i = 0; i < files.size(); ++i)
            if (const Mix_Chunk* c = Mix_Playing(channel) ? Mix_GetChunk(channel) : nullptr;
                c && c->alen == files[i]->alen && !std::memcmp(c->abuf, files[i]->abuf, c->alen))
                said += (said.empty() ? "" : " ") + std::string(names[i]);
    return said;
}
