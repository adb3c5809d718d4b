// The real game under X, driven by real input, checked through its output, exit status and
// screen against tests/replay.txt, cell by cell with the icon sheet. Each step waits for its
// outcome on the screen, never a set time.
#include <gtest/gtest.h>

#include <X11/Xlib.h> // after GoogleTest, whose names its macros would spoil
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "graphics/Screen.h"
#include "graphics/SheetGeometry.h"
#include "parts/Icons.h"
#include "parts/MainPart.h"
#include "parts/SceneLayout.h"
#include "tests/Moves.h"
#include "tests/TestSupport.h"

using namespace SceneLayout;
extern char** environ;

namespace {
// The boards' names of the icons (see tests/replay.txt), in the order of `icons`, the legend last.
const char* const iconNames =
    "Vd Wl wl Fl fl Gr gl Hs hl Sd Bo bo bl Mo mo Tb tb Fr St Up Dn Lf Rt Us Zs Pr";
// clang-format off
const int icons[] = {
    Icon::voidTile, Icon::wall, Icon::wallFirstForm, Icon::floor, Icon::floorFirstForm,
    Icon::ground, Icon::groundLateForm, Icon::house, Icon::houseLateForm, Icon::soldHouse,
    Icon::boy, Icon::boyFirstForm, Icon::boyLateForm, Icon::mother, Icon::motherFirstForm,
    Icon::table, Icon::tableFirstForm, Icon::oldFriend, Icon::stranger};
// clang-format on

using Board = std::vector<int>; // row by row

// A scene of tests/replay.txt: its moves in stretches, its boards at the start and between.
struct Play {
    std::vector<std::string> moves;
    std::vector<Board> boards;
};

Play play(const std::string& scene) {
    std::ifstream in(sourcePath("tests/replay.txt"));
    std::string line, word;
    while (std::getline(in, line) && line != "scene " + scene) {
    }
    Play play;
    for (int row = 0; row < MainPart::rows && std::getline(in, line);) {
        std::istringstream words(line);
        if (line.rfind("moves ", 0) == 0) {
            for (words >> word; words >> word;)
                word == "|" ? void() : play.moves.push_back(word);
        } else if (!line.empty() && line[0] != '#' && ++row) {
            for (size_t k = 0; words >> word; ++k) { // the boards side by side
                play.boards.resize(std::max(play.boards.size(), k / MainPart::columns + 1));
                const int n = static_cast<int>(std::string(iconNames).find(word)) / 3;
                play.boards[k / MainPart::columns].push_back(n < 19 ? icons[n]
                                                                    : Icon::firstLegend + n - 19);
            }
        }
    }
    EXPECT_TRUE(!play.moves.empty() && play.boards.size() == play.moves.size()) << scene;
    return play;
}

constexpr int restX = 600, restY = 420;      // the mouse, in the void at every board's bottom right
constexpr int arrowTipX = 9, arrowTipY = 10; // the pointer icon's pixel that lies on the mouse

// The real game on DISPLAY and a player at its screen: XTest input, screen grabs. The picture
// lies at (0, top), `scale` screen pixels a picture pixel; the game divides motion by the scale.
class Game {
  public:
    // Starts the game with extra settings ("NAME=value") on a black screen.
    explicit Game(const std::vector<std::string>& environment = {}, int scale = 1, int top = 0)
        : scale(scale), top(top) {
        const char* display = std::getenv("DISPLAY");
        if (!display || !(x = XOpenDisplay(display))) {
            ADD_FAILURE() << "cannot open the X display '" << (display ? display : "") << "'";
            return;
        }
        XChangePointerControl(x, True, True, 1, 1, 0); // the mouse goes as far as it is told
        XSetWindowBackground(x, DefaultRootWindow(x), BlackPixel(x, 0)); // no earlier picture
        XClearWindow(x, DefaultRootWindow(x));
        XSync(x, False);
        // Made ready here: a forked child may make nothing but plain system calls before exec.
        std::vector<std::string> settings(environment);
        for (char** e = environ; *e; ++e)
            if (std::none_of(environment.begin(), environment.end(), [&](const std::string& c) {
                    return std::string(*e).rfind(c.substr(0, c.find('=')) + "=", 0) == 0;
                }))
                settings.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& s : settings)
            envp.push_back(s.data());
        envp.push_back(nullptr);
        char* const argv[] = {const_cast<char*>(WANDERKIN_BINARY), nullptr};
        char path[] = "/tmp/wanderkin-game-XXXXXX"; // its standard output; its errors are ours
        const int out = mkstemp(path);
        if ((output = path, pid = fork()) == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL); // a test that dies takes its game with it
            if (dup2(out, STDOUT_FILENO) >= 0 && chdir(WANDERKIN_SOURCE_DIR) == 0)
                execve(WANDERKIN_BINARY, argv, envp.data());
            _exit(121);
        }
        close(out);
    }
    ~Game() { // kills a game still running
        if (running())
            kill(pid, SIGKILL), waitForExit();
        std::remove(output.c_str());
        if (x)
            XCloseDisplay(x);
    }

    bool running() const {
        int status = 0;
        if (pid > 0 && exitCode == -1 && waitpid(pid, &status, WNOHANG) == pid)
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return pid > 0 && exitCode == -1;
    }
    bool waitForExit(int seconds = 60) { // true when it ended in time, its status in exitCode
        for (int waited = 0; running() && waited < seconds * 100; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return pid > 0 && !running();
    }
    std::string said() const { // on its standard output
        std::ostringstream text;
        text << std::ifstream(output).rdbuf();
        return text.str();
    }
    void key(const std::string& name) const { // pressed and released, by its X name
        const KeyCode code = XKeysymToKeycode(x, XStringToKeysym(name.c_str()));
        XTestFakeKeyEvent(x, code, True, CurrentTime);
        XTestFakeKeyEvent(x, code, False, CurrentTime);
        XFlush(x);
    }
    Picture grab() const { // the whole screen as it is now
        const int w = DisplayWidth(x, 0), h = DisplayHeight(x, 0);
        XImage* image = XGetImage(x, DefaultRootWindow(x), 0, 0, w, h, AllPlanes, ZPixmap);
        Picture screen{w, h, std::vector<Rgb>(w * h)};
        for (int i = 0; i < w * h; ++i) { // 32 bits a pixel, blue first
            const char* p = image->data + i / w * image->bytes_per_line + i % w * 4;
            screen.pixels[i] = {uint8_t(p[2]), uint8_t(p[1]), uint8_t(p[0])};
        }
        XDestroyImage(image);
        return screen;
    }
    // Grabs, a frame apart, until `seen` holds, for `seconds` at most, while the game runs.
    bool waitFor(const std::function<bool(const Picture&)>& seen, int seconds = 60) const {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (; std::chrono::steady_clock::now() < limit && running();
             std::this_thread::sleep_for(std::chrono::milliseconds(33))) // a frame for the game
            if (seen(grab()))
                return true;
        return false;
    }

    // The screen pixel at the top-left of picture pixel (x, y).
    Rgb shown(const Picture& s, int x, int y) const { return s.at(x * scale, top + y * scale); }
    bool dark(const Picture& s, int x0, int y0, int x1, int y1) const { // not even a dither
        for (int i = 0; i < (x1 - x0) * (y1 - y0); ++i)
            if (shown(s, x0 + i % (x1 - x0), y0 + i / (x1 - x0)) != black)
                return false;
        return true;
    }
    static bool dissolving(const Picture& s) { return s.count(white) > int(s.pixels.size() / 3); }
    bool showsTheTitle(const Picture& s) const { // its word and menu lit, and nothing else
        return dark(s, 0, 0, screenWidth, 170) && dark(s, 0, 320, screenWidth, screenHeight) &&
               !dark(s, 253, 258, 333, 274);
    }

    // Picture pixel (x, y) of the board, or of the pointer at rest (over the void).
    Rgb expected(const Board& board, bool pointer, int x, int y) const {
        const int u = x - (mouseX - arrowTipX), v = y - (mouseY - arrowTipY);
        if (pointer && u >= 0 && u < cellSize && v >= 0 && v < cellSize)
            return iconPixel(Icon::pointer, u, v);
        return iconPixel(board[y / cellSize * MainPart::columns + x / cellSize], x % cellSize,
                         y % cellSize);
    }
    // Whether the screen shows what `want` says of each picture pixel in the w x h at (x0, y0),
    // outside the message box. Scaled, it is compared where scaling mixes only like pixels.
    bool matches(const Picture& s, int x0, int y0, int w, int h,
                 const std::function<Rgb(int, int)>& want) const {
        for (int y = y0; y < std::min(y0 + h, screenHeight); ++y)
            for (int x = x0; x < std::min(x0 + w, screenWidth); ++x) {
                if (x >= boxLeft - 1 && x <= boxRight + 1 && y >= boxTop - 1 && y <= boxBottom + 1)
                    continue;
                const Rgb a = want(x, y), seen = shown(s, x, y);
                if (scale > 1 && (x == x0 || y == y0 || a != want(x - 1, y) ||
                                  a != want(x, y - 1) || a != want(x - 1, y - 1)))
                    continue;
                if (std::abs(seen.r - a.r) > 3 || std::abs(seen.g - a.g) > 3 ||
                    std::abs(seen.b - a.b) > 3)
                    return false;
            }
        return true;
    }
    bool showsBoard(const Picture& s, const Board& board) const {
        const bool pointer = board[MainPart::columns + 1] != Icon::voidTile; // with a legend
        return matches(s, 0, 0, screenWidth, screenHeight,
                       [&](int x, int y) { return expected(board, pointer, x, y); });
    }
    // Acts and waits until the screen changes: the game has had a frame for it.
    bool changes(const std::function<void()>& act, int seconds = 60) {
        const Picture before = grab();
        act();
        return waitFor([&](const Picture& s) { return !(s == before); }, seconds);
    }
    void nudge(int dx, int dy) {
        XTestFakeRelativeMotionEvent(x, dx * scale, dy * scale, CurrentTime);
        XFlush(x);
        mouseX += dx, mouseY += dy;
    }
    // Wiggles the mouse at rest until the pointer shows there: the game has had a frame for it
    // and all before it (a fade-in's last frames drop a motion; another wiggle brings it).
    void sync(const Board& board) {
        bool moved = false;
        for (int attempt = 0; !moved && attempt < 12; ++attempt) {
            nudge(restX + (mouseX == restX) * 2 - mouseX, 0);
            moved = waitFor(
                [&](const Picture& s) {
                    return matches(s, mouseX - arrowTipX - 1, mouseY - arrowTipY - 1, cellSize + 2,
                                   cellSize + 2,
                                   [&](int x, int y) { return expected(board, true, x, y); });
                },
                5);
        }
        ASSERT_TRUE(moved) << "the pointer does not follow the mouse";
    }
    // Presses a key until the screen changes (or dissolves, for a scene's last), again if allowed.
    void press(const char* name, bool ends, bool again = false) {
        const auto pressed = [&](int seconds) {
            return ends ? (key(name), waitFor(dissolving, seconds))
                        : changes([&] { key(name); }, seconds);
        };
        for (int attempt = 0; again && attempt < 12; ++attempt)
            if (pressed(5))
                return;
        ASSERT_TRUE(pressed(60)) << "nothing came of " << name;
    }
    // Draws a gesture from the middle of the window, a sample a frame, and back to rest. A
    // pointing gesture's or the U-shape's lock lasts as many syncs as it has frames.
    void stroke(int g, const Board& board) {
        nudge(screenWidth / 2 - mouseX, screenHeight / 2 - mouseY);
        XTestFakeButtonEvent(x, 1, True, CurrentTime);
        for (const char* c = gestureStrokes[g]; *c; ++c) // the trail grows a sample a frame
            ASSERT_TRUE(changes([&] { nudge(strokeStepX[*c - '0'], strokeStepY(*c - '0')); }));
        XTestFakeButtonEvent(x, 1, False, CurrentTime);
        nudge(restX - mouseX, restY - mouseY);
        for (int frame = 0; g <= uShape && frame < MainPart::gestureLockFrames; ++frame)
            ASSERT_NO_FATAL_FAILURE(sync(board));
    }

    // Plays a scene (or its first `stretches`), checking each board on the way.
    void playScene(const Play& play, size_t stretches = 99) {
        Board board = play.boards[0];
        ASSERT_TRUE(waitFor([&](const Picture& s) { return showsBoard(s, board); }));
        const bool pointer = board[MainPart::columns + 1] != Icon::voidTile; // with a legend
        if (pointer) { // then the pointer follows the mouse once the fade-in is over
            ASSERT_NO_FATAL_FAILURE(sync(board));
        }
        for (size_t k = 0; k < std::min(stretches, play.moves.size()); ++k) {
            const std::string moves = expandMoves(play.moves[k]);
            const bool last = k + 1 == play.moves.size();
            for (size_t i = 0; i < moves.size() && !::testing::Test::HasFatalFailure(); ++i) {
                static const char* const keys[] = {"Up", "Down", "Left", "Right", "space"};
                if (const char* g = std::strchr(gestureMoves, moves[i]))
                    stroke(g - gestureMoves, board);
                else
                    press(keys[std::strchr(moveKeys, moves[i]) - moveKeys],
                          last && i + 1 == moves.size(), k == 0 && i == 0 && !pointer);
            }
            if (last || ::testing::Test::HasFatalFailure())
                return;
            board = play.boards[k + 1];
            ASSERT_TRUE(waitFor([&](const Picture& s) { return showsBoard(s, board); }))
                << "after " << play.moves[k];
        }
    }

    // Skips the intro once its square shows, brings the mouse to rest from the corner where SDL
    // and X both keep it, and begins.
    void begin() {
        ASSERT_TRUE(waitFor([&](const Picture& s) {
            return !dark(s, 160, 120, 480, 360) && dark(s, 0, 0, screenWidth, 100);
        }));
        press("space", true, true);
        ASSERT_TRUE(waitFor([&](const Picture& s) { return showsTheTitle(s); }));
        const std::pair<int, int> moves[] = {{-200, -200}, {-200, -200}, {-200, -200},
                                             {-200, -200}, {320, 240},   {280, 180}};
        for (auto [dx, dy] : moves)
            ASSERT_TRUE(changes([&] { nudge(dx, dy); }));
        mouseX = restX, mouseY = restY;
        press("space", true, true);
    }

    mutable int exitCode = -1;
    pid_t pid = -1;
    const int scale, top;
    int mouseX = 0, mouseY = 0;

  private:
    std::string output; // the file its standard output goes to
    Display* x = nullptr;
};

void expectCleanExit(Game& game, const std::string& said = "") {
    ASSERT_TRUE(game.waitForExit()) << "the game did not end";
    EXPECT_EQ(game.exitCode, 0);
    EXPECT_EQ(game.said(), said + "Exited cleanly\n");
}

// Whether the game holds back close requests: it has started and its window is not up.
bool holdsCloseRequests(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigBlk:", 0) == 0)
            return std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1) & 1;
    return false;
}

bool somethingShows(const Picture& s) {
    return s.count(black) < s.width * s.height;
}
} // namespace

// Without a window there is no game, and the player is told why; a failed video query is told.
TEST(EndToEnd, VideoFailuresAreReported) {
    const char* const preloaded = std::getenv("LD_PRELOAD"); // a sanitized run's, kept
    const std::tuple<std::string, const char*, bool> cases[] = {
        {"DISPLAY=:199", "Video initialization failed: ", false},
        {"SDL_VIDEODRIVER=dummy", "Video mode set failed: ", false}, // a driver without OpenGL
        {std::string("LD_PRELOAD=" WANDERKIN_FAILING_VIDEO_QUERY ":") +
             (preloaded ? preloaded : ""),
         "Video query failed: ", true}};
    for (auto [setting, said, plays] : cases) {
        Game game({setting});
        if (plays) { // until the intro shows
            EXPECT_TRUE(game.waitFor(somethingShows));
            kill(game.pid, SIGTERM);
        }
        ASSERT_TRUE(game.waitForExit()) << said;
        EXPECT_EQ(game.exitCode, plays ? 0 : 1) << said;
        const std::string output = game.said();
        EXPECT_EQ(output.rfind(said, 0), 0u) << output;
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), plays ? 2 : 1) << output;
    }
}

// A close request in the intro, or in the dissolve and the title's fade-in after it, ends the
// game cleanly; so does one while the game is still starting, before its window can hear one:
// it is held back for the window instead of killing the game.
TEST(EndToEnd, ClosingTheWindowEndsTheGameWhateverIsOnShow) {
    for (int when : {0, 1, 2}) {
        Game game;
        if (when == 0) {
            for (int waited = 0; !holdsCloseRequests(game.pid) && waited < 10000; ++waited)
                usleep(1000);
            ASSERT_TRUE(holdsCloseRequests(game.pid)) << "the game never held close requests";
        } else {
            ASSERT_TRUE(game.waitFor(somethingShows));
        }
        if (when == 2)
            game.press("space", true, true);
        kill(game.pid, SIGTERM); // SDL turns it into a window-close request
        expectCleanExit(game);
    }
}

// The whole game with real input: six scenes, the title again, then "quit"; the sales' lines
// name the four neighbours of the boy, then the house sold.
TEST(EndToEnd, PlaysTheWholeGameWithRealInput) {
    Game game;
    ASSERT_NO_FATAL_FAILURE(game.begin());
    // The first words show in the box at once, broken at twenty characters.
    ASSERT_TRUE(game.waitFor([&](const Picture& s) {
        return showsText(s, 185, 11, "Come over here to   ") &&
               showsText(s, 185, 11 + bigGlyphSize, "me, my darling.     ");
    }));
    for (const char* scene : {"first words", "pointing lesson", "conversation lesson", "the friend",
                              "sales job", "the ending"})
        ASSERT_NO_FATAL_FAILURE(game.playScene(play(scene)));
    ASSERT_TRUE(game.waitFor([&](const Picture& s) { return game.showsTheTitle(s); }));
    // "quit" shows white once a Down is heard past the fade-in.
    const auto onQuit = [](const Picture& s) { return showsText(s, 253, 299, "quit"); };
    for (int attempt = 0; attempt < 12 && !(game.key("Down"), game.waitFor(onQuit, 5));)
        ++attempt;
    game.key("space");
    expectCleanExit(game, "gesture519,17,18,18\nfromto17,20\ngesture519,17,19,18\nfromto17,20\n"
                          "gesture518,18,17,17\nfromto17,20\ngesture518,18,20,17\nfromto17,20\n");
}

// On a large screen (its own test entry: 1280 x 1024, with openbox) the picture fills the height
// at twice its size between black bars, and strokes count in the picture's pixels.
TEST(LargeScreen, ThePictureIsScaledAndStrokesStillWork) {
    Game game({}, 2, 32);
    ASSERT_NO_FATAL_FAILURE(game.begin());
    ASSERT_NO_FATAL_FAILURE(game.playScene(play("first words")));
    const Play pointingLesson = play("pointing lesson");
    ASSERT_NO_FATAL_FAILURE(game.playScene(pointingLesson, 0)); // its first picture
    for (int line = 0; line < 8; ++line)                        // the lesson's first lines
        ASSERT_NO_FATAL_FAILURE(game.press("space", false));
    ASSERT_NO_FATAL_FAILURE(game.stroke(pointUp, pointingLesson.boards[0]));
    const Picture s = game.grab();
    for (int i = 0; i < s.width * 64; ++i)
        ASSERT_EQ(s.at(i % s.width, i / s.width < 32 ? i / s.width : 960 + i / s.width), black);
    game.press("Escape", true);
    ASSERT_TRUE(game.waitFor([&](const Picture& s) { return game.showsTheTitle(s); }));
    for (int attempt = 0; attempt < 12 && game.running(); ++attempt) // dropped in a fade-in
        game.key("Escape"), game.waitForExit(5);
    expectCleanExit(game);
}
