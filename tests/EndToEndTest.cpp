// The real game under X, driven by real key presses, mouse strokes and window-close requests,
// checked through its standard output, its exit status and its screen. Nothing here sleeps a
// set time for the game to catch up: each step waits until the screen shows its outcome.
#include <signal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "graphics/TextLayout.h"
#include "tests/GameProcess.h"
#include "tests/SceneDriver.h"
#include "tests/ScenePaths.h"
#include "tests/XServer.h"

// Where the player finds the message box and its text (five lines of twenty characters), and
// the size of a board cell (an icon's). The test keeps its own: they are what the player must
// see, not what the game happens to use.
constexpr int boxLeft = 179, boxTop = 4, boxRight = 525, boxBottom = 100, textX = 185, textY = 11;
constexpr int textWidth = 20, textLines = 5, cellSize = 64;
using Seen = std::function<bool(const Picture&)>;

namespace {
// A player at the game's screen, who keeps the scene part's rules beside it (a SceneDriver fed
// the same moves) to know what each move must show. The picture lies at (0, top) on the X
// screen, `scale` screen pixels to a picture pixel, linearly filtered; the game divides mouse
// motion by the scale.
class Player {
  public:
    Player(GameProcess& game, int scale, int top) : game(game), scale(scale), top(top) {}

    // The screen pixel at the top-left of picture pixel (x, y).
    Rgb shown(const Picture& s, int x, int y) const { return s.at(x * scale, top + y * scale); }
    bool dark(const Picture& s, Rect r) const { // nothing lit, not even a fade's dither
        for (int i = 0; i < (r.x1 - r.x0) * (r.y1 - r.y0); ++i)
            if (shown(s, r.x0 + i % (r.x1 - r.x0), r.y0 + i / (r.x1 - r.x0)) != black)
                return false;
        return true;
    }
    static bool dissolving(const Picture& s) { return s.count(white) > int(s.pixels.size() / 3); }
    bool pointed() const { return !model->part.recognizer->templates.empty(); }
    bool boxed() const { return model->part.lineShowing || model->part.remarkShowing; }

    // The picture pixel the rules say (x, y) shows, the box aside: the board's icon (the boy as
    // `boyAs` if given) and the pointer with its tip at (px, py): its silhouette darkens what
    // lies under it, then its arrow is added.
    Rgb expected(int x, int y, int boyAs, int px, int py) const {
        const int icon = model->part.grid[y / cellSize][x / cellSize];
        Rgb p = iconPixel(boyAs >= 0 && MainPart::isPlayerIcon(icon) ? boyAs : icon, x % cellSize,
                          y % cellSize);
        // The tip is the first pixel of the arrow's ink.
        static const int tip = [] {
            int i = 0;
            while (iconPixel(Icon::pointer, i % cellSize, i / cellSize) == black)
                ++i;
            return i;
        }();
        const int u = x - px + tip % cellSize, v = y - py + tip / cellSize;
        if (!pointed() || u < 0 || u >= cellSize || v < 0 || v >= cellSize)
            return p;
        const Rgb hole = iconPixel(Icon::pointerSilhouette, u, v),
                  q = iconPixel(Icon::pointer, u, v);
        auto over = [](int under, int cut, int add) {
            return uint8_t(std::min(255, under * (255 - cut) / 255 + add));
        };
        return {over(p.r, hole.r, q.r), over(p.g, hole.g, q.g), over(p.b, hole.b, q.b)};
    }
    // Whether (x, y), or a pixel scaling mixes into it, lies under the box or its outline.
    bool underTheBox(int x, int y) const {
        return boxed() && x >= boxLeft - 1 && x <= boxRight + 2 && y >= boxTop - 1 &&
               y <= boxBottom + 2;
    }
    // Whether the screen shows what the rules say in r, outside the box: the board, the boy as
    // `boyAs` if given, and the pointer with its tip at (px, py). Scaled, the screen pixel at a
    // picture pixel's top-left mixes it with those left of and above it.
    bool shows(const Picture& s, Rect r, int boyAs, int px, int py) const {
        const double f = 0.5 - 0.5 / scale;
        for (int y = std::max(r.y0, 0); y < std::min(r.y1, screenHeight); ++y)
            for (int x = std::max(r.x0, 0); x < std::min(r.x1, screenWidth); ++x) {
                if (underTheBox(x, y))
                    continue;
                const Rgb a = expected(x, y, boyAs, px, py), seen = shown(s, x, y);
                if (scale == 1) { // unscaled: the picture's pixel, blending rounding either way
                    if (std::abs(seen.r - a.r) > 3 || std::abs(seen.g - a.g) > 3 ||
                        std::abs(seen.b - a.b) > 3)
                        return false;
                    continue;
                }
                const int left = std::max(x - 1, 0), up = std::max(y - 1, 0);
                const Rgb b = expected(left, y, boyAs, px, py), c = expected(x, up, boyAs, px, py),
                          d = expected(left, up, boyAs, px, py);
                for (auto part : {&Rgb::r, &Rgb::g, &Rgb::b})
                    if (std::abs(seen.*part -
                                 ((1 - f) * (1 - f) * a.*part + f * (1 - f) * (b.*part + c.*part) +
                                  f * f * d.*part)) > 3)
                        return false;
            }
        return true;
    }
    // Whether the pointer shows with its tip at (x, y), the boy blinking or not.
    bool pointerAt(const Picture& s, int x, int y) const {
        const Rect square{x - 10, y - 11, x + 56, y + 55};
        return shows(s, square, -1, x, y) ||
               shows(s, square, Icon::firstLegend + model->part.lastGesture, x, y);
    }
    // Whether the screen shows the whole scene as the rules say, with the box's text (only
    // unscaled).
    bool showsScene(const Picture& s, int boyAs = -1) const {
        if (!shows(s, {0, 0, screenWidth, screenHeight}, boyAs, mouseX, mouseY))
            return false;
        if (!boxed() || scale != 1)
            return true;
        const std::string& text = model->part.shownText;
        TextLayout layout(text.c_str(), textWidth);
        int y = textY;
        for (TextPiece p; layout.next(p); y += 16)
            if (!showsText(s, textX, y, text.substr(p.offset, p.length)))
                return false;
        return dark(s, {textX, y, boxRight - 4, boxBottom - 4});
    }

    // Presses a key and waits until the screen shows `outcome`. A key that the last frames of a
    // fade-in may drop is pressed again, where a second press would do no harm.
    void press(const std::string& key, const Seen& outcome, bool again = false) {
        for (int attempt = 0; again && attempt < 12; ++attempt)
            if (game.xdotool("key " + key) && game.waitFor(outcome, 5))
                return;
        ASSERT_TRUE(again || game.xdotool("key " + key));
        ASSERT_TRUE(game.waitFor(outcome)) << "after " << key;
    }
    // Moves the mouse by (dx, dy) picture pixels. The game follows the X pointer's motion, not
    // where it is; both stay on the screen, and once both have been pushed into its corner the
    // X pointer goes where the game's does.
    bool nudge(int dx, int dy) const {
        return game.xdotool("mousemove_relative -- " + std::to_string(dx * scale) + " " +
                            std::to_string(dy * scale));
    }
    // Moves the mouse and waits until the pointer is there: the game has handled the motion and
    // every event before it. The last frames of a fade-in drop the motion, though SDL keeps
    // where the mouse went: then a wiggle that goes nowhere brings the news.
    void move(int dx, int dy) {
        const Seen there = [&](const Picture& s) { return pointerAt(s, mouseX + dx, mouseY + dy); };
        bool moved = nudge(dx, dy) && game.waitFor(there, 5);
        for (int attempt = 0; !moved && attempt < 12; ++attempt)
            moved = game.xdotool("mousemove_relative -- " + std::to_string(scale) +
                                 " 0 mousemove_relative -- -" + std::to_string(scale) + " 0") &&
                    game.waitFor(there, 5);
        ASSERT_TRUE(moved) << "the pointer does not go from " << mouseX << "," << mouseY << " by "
                           << dx << "," << dy;
        mouseX += dx, mouseY += dy;
    }
    void sync() { move(flip = -flip, 0); }

    // Draws a gesture's stroke, one sample a frame, where the whole stroke fits the window, then
    // takes the mouse back to rest in the void at the bottom right.
    void stroke(int gesture) {
        static const int dx[8] = {30, 21, 0, -21, -30, -21, 0, 21};
        int x = 0, y = 0, left = 0, right = 0, up = 0, down = 0;
        for (const char* c = gestureStrokes[gesture]; *c; ++c) {
            x += dx[*c - '0'], y += dx[(*c - '0' + 6) % 8];
            left = std::min(left, x), right = std::max(right, x), up = std::min(up, y),
            down = std::max(down, y);
        }
        move(screenWidth / 2 - (left + right) / 2 - mouseX,
             screenHeight / 2 - (up + down) / 2 - mouseY);
        ASSERT_TRUE(game.xdotool("mousedown 1"));
        for (const char* c = gestureStrokes[gesture]; *c; ++c) { // a sample each: the trail grows
            const Picture before = game.grab();
            mouseX += dx[*c - '0'], mouseY += dx[(*c - '0' + 6) % 8];
            ASSERT_TRUE(nudge(dx[*c - '0'], dx[(*c - '0' + 6) % 8]) &&
                        game.waitFor([&](const Picture& s) { return !(s == before); }));
        }
        ASSERT_TRUE(game.xdotool("mouseup 1"));
        move(600 - mouseX, 420 - mouseY);
    }
    // After a pointing gesture or the U-shape the boy blinks with its legend icon, and the game
    // takes no step until the lock is over. Each sync waits for a frame of its own, however
    // slowly the test is running, so as many syncs after the first blink see the lock out.
    void waitOutTheBlink(int gesture) {
        ASSERT_TRUE(game.waitFor([&](const Picture& s) {
            return showsScene(s, Icon::firstLegend + gesture);
        })) << "gesture "
            << gesture << " was not recognised";
        for (int frame = 0; frame < MainPart::gestureLockFrames; ++frame)
            ASSERT_NO_FATAL_FAILURE(sync());
        ASSERT_TRUE(game.waitFor([&](const Picture& s) { return showsScene(s); }));
    }

    // Waits for a scene's first picture; where the pointer shows, until it follows the mouse,
    // which tells that the fade-in is over.
    void startScene(int scene) {
        model.reset(new SceneDriver(scene));
        ASSERT_TRUE(game.waitFor([&](const Picture& s) { return showsScene(s); }))
            << "scene " << scene;
        if (pointed())
            sync(), move(600 - mouseX, 420 - mouseY);
        shoot("scene" + std::to_string(scene));
    }
    // Plays the scene on show to its end by the moves of its path, each step checked.
    void playScene(const std::string& path) {
        const int scene = model->counter;
        const Seen shows = [&](const Picture& s) { return showsScene(s); };
        const std::string moves = SceneDriver::expand(path);
        for (size_t i = 0; i < moves.size() && !::testing::Test::HasFatalFailure(); ++i) {
            const char m = moves[i];
            const bool last = i + 1 == moves.size();
            model->run(std::string(1, m));
            if (const char* g = std::strchr(gestureMoves, m)) {
                stroke(g - gestureMoves);
                if (g - gestureMoves <= uShape)
                    waitOutTheBlink(g - gestureMoves);
            } else { // the scene's end is not drawn: the part dissolves from its last picture
                const char* const keys[] = {"Up", "Down", "Left", "Right", "space"};
                press(keys[std::strchr(moveKeys, m) - moveKeys], last ? Seen(dissolving) : shows,
                      i == 0 && !pointed());
            }
            if (last)
                return;
            ASSERT_TRUE(game.waitFor(shows)) << "scene " << scene << " move " << i;
            const MainPart& part = model->part;
            if (boxed() && TextLayout::countLines(part.shownText.c_str(), textWidth) == textLines)
                shoot("text-box");
            if (part.gridContains(Icon::boyLateForm))
                shoot("scene4-late");
            if (scene == 1 && part.lineIndex == 8 && !boxed())
                pointAtTheBrightestAndTheDarkestIcon();
        }
    }
    // The title with nothing lit but its word and its menu: no dither of the fade-in left.
    bool showsTheTitle(const Picture& s) const {
        return dark(s, {0, 0, screenWidth, 170}) && dark(s, {0, 320, screenWidth, screenHeight}) &&
               !dark(s, {253, 258, 333, 274});
    }
    void shoot(const std::string& name) {
        if (scale == 1 && shot.insert(name).second)
            game.save(name);
    }
    // Puts the pointer over the brightest and the darkest icon of the game's boards.
    void pointAtTheBrightestAndTheDarkestIcon() {
        std::map<int, int> icons; // by brightness
        const int cells = MainPart::rows * MainPart::columns, columns = MainPart::columns;
        for (int i = 0, sum = 0; i < MainPart::sceneCount * cells; ++i, sum = 0) {
            const int icon = MainPart::sceneGrids[i / cells][i % cells / columns][i % columns];
            for (int p = 0; p < cellSize * cellSize; ++p) {
                const Rgb c = iconPixel(icon, p % cellSize, p / cellSize);
                sum += c.r + c.g + c.b;
            }
            icons[sum] = icon;
        }
        for (auto [icon, name] : {std::pair{icons.rbegin()->second, "pointer-bright"},
                                  {icons.begin()->second, "pointer-dark"}})
            for (int i = 2 * columns; i < cells; ++i) // below the box
                if (model->part.grid[i / columns][i % columns] == icon) {
                    move(cellSize * (i % columns) + 24 - mouseX,
                         cellSize * (i / columns) + 24 - mouseY);
                    shoot(name);
                    move(600 - mouseX, 420 - mouseY);
                    break;
                }
    }

    GameProcess& game;
    const int scale, top;
    int mouseX = screenWidth / 2, mouseY = screenHeight / 2, flip = 2;
    std::unique_ptr<SceneDriver> model;
    std::set<std::string> shot;
};

// Plays the intro, the title and the scenes up to `lastScene`.
void playUpTo(GameProcess& game, Player& player, int lastScene) {
    // Once the intro's square shows, skip it (a second Space falls into the dissolve or the
    // title's fade-in).
    ASSERT_TRUE(game.waitFor([&](const Picture& s) {
        return !player.dark(s, {160, 120, 480, 360}) && player.dark(s, {0, 0, screenWidth, 100});
    }));
    player.press("space", Player::dissolving, true);
    ASSERT_TRUE(game.waitFor([&](const Picture& s) { return player.showsTheTitle(s); }));
    // The mouse to the middle, from the corner of the window where SDL and X both keep it.
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(player.nudge(i < 4 ? -200 : 160, i < 4 ? -200 : 120));
    player.press("space", Player::dissolving, true);
    for (int scene = 0; scene <= lastScene && !::testing::Test::HasFatalFailure(); ++scene)
        player.startScene(scene), player.playScene(scenePaths[scene]);
}

void expectCleanExit(GameProcess& game, const std::vector<std::string>& said = {}) {
    ASSERT_TRUE(game.waitForExit()) << "the game did not end";
    EXPECT_EQ(game.exitCode, 0);
    std::vector<std::string> lines = said;
    lines.push_back("Exited cleanly");
    EXPECT_EQ(game.outputLines(), lines);
}

// Whether the process is holding back close requests: it has started and its window is not up.
bool holdsCloseRequests(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigBlk:", 0) == 0)
            return std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1) & 1;
    return false;
}
} // namespace

// Without a window there is no game, and the player is told why; a failed video query is told
// too, and the game plays on.
TEST(EndToEnd, VideoFailuresAreReported) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"DISPLAY=:199", "Video initialization failed: ", false},
        {"SDL_VIDEODRIVER=dummy", "Video mode set failed: ", false}, // a driver without OpenGL
        {"LD_PRELOAD=" WANDERKIN_FAILING_VIDEO_QUERY, "Video query failed: ", true}};
    for (auto [setting, said, plays] : cases) {
        GameProcess game({setting, "WAYLAND_DISPLAY"});
        if (plays) { // until the intro shows
            EXPECT_TRUE(game.waitFor(
                [](const Picture& s) { return s.count(black) < screenWidth * screenHeight; }));
            kill(game.pid, SIGTERM);
        }
        ASSERT_TRUE(game.waitForExit()) << said;
        EXPECT_EQ(game.exitCode, plays ? 0 : 1) << said;
        const std::vector<std::string> lines = game.outputLines();
        ASSERT_EQ(lines.size(), plays ? 2u : 1u) << said;
        EXPECT_EQ(lines[0].rfind(said, 0), 0u) << lines[0];
    }
}

// A close request in the intro, or in the dissolve and the title's fade-in after it, ends the
// game cleanly.
TEST(EndToEnd, ClosingTheWindowEndsTheGameWhateverIsOnShow) {
    for (bool skipped : {false, true}) {
        GameProcess game;
        Player player(game, 1, 0);
        ASSERT_TRUE(game.waitFor(
            [](const Picture& s) { return s.count(black) < screenWidth * screenHeight; }));
        if (skipped)
            player.press("space", Player::dissolving, true);
        kill(game.pid, SIGTERM); // SDL turns it into a window-close request
        expectCleanExit(game);
    }
}

// A close request while the game is still starting, before its window can hear one, is kept
// for the window instead of killing the game.
TEST(EndToEnd, ClosingWhileTheGameStartsEndsItCleanly) {
    GameProcess game;
    for (int waited = 0; !holdsCloseRequests(game.pid) && waited < 10000; ++waited)
        usleep(1000);
    ASSERT_TRUE(holdsCloseRequests(game.pid)) << "the game never got as far as holding requests";
    kill(game.pid, SIGTERM);
    expectCleanExit(game);
}

// The whole game with real input: six scenes, the title again, then "quit"; the sales' lines
// name the four neighbours of the boy, then the house sold.
TEST(EndToEnd, PlaysTheWholeGameWithRealInput) {
    GameProcess game;
    Player player(game, 1, 0);
    playUpTo(game, player, MainPart::sceneCount - 1);
    ASSERT_FALSE(HasFatalFailure());
    // "quit" shows white once the fade-in is over and Down heard (a second Down brings "begin"
    // back, and the next one "quit" again).
    player.press(
        "Down",
        [](const Picture& s) {
            return showsText(s, 253, 299, "quit") && !showsText(s, 253, 258, "begin");
        },
        true);
    ASSERT_TRUE(game.xdotool("key space"));
    expectCleanExit(game,
                    {"gesture519,17,18,18", "fromto17,20", "gesture519,17,19,18", "fromto17,20",
                     "gesture518,18,17,17", "fromto17,20", "gesture518,18,20,17", "fromto17,20"});
}

// On a large screen under a window manager the picture fills the height at twice its size,
// with black bars above and below, and strokes count in the picture's pixels. (The first scenes
// only: the whole game is played above.)
TEST(EndToEnd, OnALargeScreenThePictureIsScaledAndStrokesStillWork) {
    XServer large(1280, 1024);
    ASSERT_FALSE(large.display.empty()) << "could not start Xvfb with openbox (is it installed?)";
    GameProcess game({}, large.display);
    Player player(game, 2, 32);
    playUpTo(game, player, 1);
    player.startScene(2);
    ASSERT_FALSE(HasFatalFailure());
    const Picture s = game.grab();
    for (int i = 0; i < 1280 * 64; ++i)
        ASSERT_EQ(s.at(i % 1280, i / 1280 < 32 ? i / 1280 : 960 + i / 1280), black) << i;
    player.press("Escape", Player::dissolving);
    ASSERT_TRUE(game.waitFor([&](const Picture& s) { return player.showsTheTitle(s); }));
    for (int attempt = 0; attempt < 12 && game.running(); ++attempt) // until the fade-in is over
        game.xdotool("key Escape"), game.waitFor([](const Picture&) { return false; }, 5);
    expectCleanExit(game);
}
