// Shared test helpers: the game's subsystems, pictures, the data files' pictures, effects heard.
#include "tests/TestSupport.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "app/GameEngine.h"
#include "app/Timer.h"
#include "graphics/Screen.h"
#include "sound/Effects.h"
#include "sound/SoundSystem.h"

namespace {
// Shuts SDL down inside main: at exit the audio thread and the GL driver's teardown could
// outlive the libraries they call into.
class SdlShutDown : public ::testing::Environment {
  public:
    void TearDown() override { SDL_Quit(); }
};
::testing::Environment* const sdlShutDown = ::testing::AddGlobalTestEnvironment(new SdlShutDown);
} // namespace

GameEngine* testEngine() {
    static GameEngine* engine = nullptr;
    if (!engine) {
        engine = new GameEngine;
        // Mesa's software renderer ignores polygon stipple on a context's first primitive,
        // which the game's first frame cannot show; draw one point off the window first.
        glBegin(GL_POINTS);
        glVertex2f(-10, -10);
        glEnd();
    }
    return engine;
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

SDL_Event* keyEvent(SDLKey key, Uint8 type) {
    static SDL_Event e;
    return e.key = {type, 0, 0, {0, key, KMOD_NONE, 0}}, &e;
}

int Picture::count(Rgb colour) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

Picture readWindow() {
    Picture window{screenWidth, screenHeight, std::vector<Rgb>(screenWidth * screenHeight)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screenWidth, screenHeight, GL_RGB, GL_UNSIGNED_BYTE, window.pixels.data());
    for (int y = 0; y < screenHeight / 2; ++y) // GL reads the bottom row first
        std::swap_ranges(&window.pixels[y * screenWidth], &window.pixels[(y + 1) * screenWidth],
                         &window.pixels[(screenHeight - 1 - y) * screenWidth]);
    return window;
}

Rgb iconPixel(int n, int u, int v) {
    // Icon n is cell (n mod 8, n div 8) counted from the bottom-left, shown mirrored top to
    // bottom; the sheet is 24-bit, blue first, bottom row first.
    static const std::vector<char> sheet = [] {
        std::ifstream in(sourcePath("textures/icons.bmp"), std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }();
    const int x = n % 8 * 64 + u, y = n / 8 * 64 + v;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&sheet[54 + (y * 512 + x) * 3]);
    return {p[2], p[1], p[0]};
}

bool glyphInk(char c, int u, int v) {
    static const std::vector<std::string> glyphs = [] { // 8 rows of 8 'X' or '.' by code
        std::vector<std::string> read(128);
        std::ifstream in(sourcePath("assets/font/glyphs.txt"));
        int code = -1;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("glyph ", 0) == 0)
                code = std::stoi(line.substr(6));
            else if (code >= 0 && !line.empty() && line[0] != '#')
                read.at(code) += line;
        return read;
    }();
    const std::string& glyph = glyphs.at(static_cast<unsigned char>(c) % 128);
    return glyph.size() == 64 && glyph[v * 8 + u] == 'X';
}

::testing::AssertionResult showsText(const Picture& picture, int x, int y, const std::string& text,
                                     int set, Rgb ink) {
    for (int i = 0; i < static_cast<int>(text.size()) * 256; ++i) {
        const int k = i / 256, u = i % 16, v = i / 16 % 16;
        const bool inked = glyphInk(text[k], u / 2, v / 2) != (set == 1);
        if (picture.at(x + 16 * k + u, y + v) != (inked ? ink : black))
            return ::testing::AssertionFailure()
                   << "'" << text[k] << "' of \"" << text << "\" at " << u << "," << v;
    }
    return ::testing::AssertionSuccess();
}

std::string heard(const std::function<void()>& action) {
    SDL_PauseAudio(1); // nothing ends while we listen
    Mix_HaltChannel(-1);
    action();
    static const char* const names[] = {"blipn", "bigblip", "good", "bad"};
    static std::vector<Mix_Chunk*> files;
    for (size_t i = files.size(); i < std::size(names); ++i)
        files.push_back(Mix_LoadWAV(sourcePath(std::string("audio/") + names[i] + ".wav").c_str()));
    std::string said;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
        for (size_t i = 0; i < files.size(); ++i) {
            const Mix_Chunk* playing = Mix_Playing(channel) ? Mix_GetChunk(channel) : nullptr;
            if (playing && playing->alen == files[i]->alen &&
                std::memcmp(playing->abuf, files[i]->abuf, playing->alen) == 0)
                said += (said.empty() ? "" : " ") + std::string(names[i]);
        }
    return said;
}

#ifdef WANDERKIN_WATCH_SWAPS
int swapsSeen = 0;
std::function<void()> afterSwap;

// The linker sends the game's swaps here (--wrap).
extern "C" void __real_SDL_GL_SwapBuffers();
extern "C" void __wrap_SDL_GL_SwapBuffers() {
    __real_SDL_GL_SwapBuffers();
    ++swapsSeen;
    if (afterSwap)
        afterSwap();
}
#endif

std::string sourcePath(const std::string& relative) {
    return std::string(WANDERKIN_SOURCE_DIR) + "/" + relative;
}
