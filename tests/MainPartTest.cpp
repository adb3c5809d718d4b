// The scene part: rules and scenes played as the frame loop plays them (events through
// handleEvent, one update a frame, strokes as mouse positions frame by frame), texts and drawing.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/FontSet.h"
#include "graphics/IconSheet.h"
#include "graphics/TextLayout.h"
#include "graphics/Video.h"
#include "parts/MainPart.h"
#include "sound/SoundSystem.h"
#include "tests/TestSupport.h"

namespace {
// Effects 2 and 3 must be loaded, or playing them ends the program; without a display, no video.
SubengineInterface* rulesSubsystems() {
    static SubengineInterface* s = nullptr;
    if (!s) {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        s = displayAvailable() ? testSubsystems()
                               : new SubengineInterface{nullptr, nullptr, new SoundSystem};
        for (const char* name : {"blipn", "bigblip", "good", "bad"})
            s->sound->loadSound(sourcePath("audio/") + name + ".wav");
    }
    return s;
}

// Each gesture's stroke, '0' right to '7' up-right; the last direction is ignored, so one extra.
const char* const gestureStrokes[7] = {"666666",   "222222",   "444444",       "000000",
                                       "22345666", "00333000", "1107765437011"};
const int floorIcon = 24, player = 8;

struct SceneDriver {
    explicit SceneDriver(int scene) : counter(scene), part(rulesSubsystems(), &counter) {}
    int send(Uint8 type, SDLKey sym = SDLK_UNKNOWN) {
        SDL_Event e{}; // keys read the sym, buttons the button at (0, 0) and not the mouse
        e.type = type;
        e.key.keysym.sym = sym;
        e.button.button = SDL_BUTTON_LEFT;
        return part.handleEvent(&e);
    }
    int key(SDLKey sym) { return send(SDL_KEYDOWN, sym); }
    void press() { send(SDL_MOUSEBUTTONDOWN); }
    void release() { send(SDL_MOUSEBUTTONUP); }
    int frame() { return part.update(); }
    // Press, a frame at each sample 30 px on from the mouse in the given directions, release;
    // other moves (see run) may come between. A direction's dy is the dx a quarter turn back.
    void stroke(const std::string& directions) {
        static const int dx[8] = {30, 21, 0, -21, -30, -21, 0, 21};
        press();
        for (char d : directions)
            if (d < '0' || d > '7') {
                run(std::string(1, d));
            } else {
                part.mouseX += dx[d - '0'], part.mouseY += dx[(d - '0' + 6) % 8];
                frame();
            }
        release();
    }
    // Moves: '.' Space, ^ v < > arrows, U D L R point that way and C the U-shape (each waiting out
    // the 60-frame blink), Z and P the sale and proposition, f a frame. A number repeats a move.
    void run(const std::string& moves) {
        static const std::string keyMoves = "^v<>.", shapes = "UDLRCZP";
        static const SDLKey keys[5] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
        for (size_t i = 0; i < moves.size(); ++i) {
            size_t digits = 0;
            const int times = std::isdigit(moves[i]) ? std::stoi(moves.substr(i), &digits) : 1;
            const char m = moves[i += digits];
            const size_t k = keyMoves.find(m), s = shapes.find(m);
            for (int t = 0; t < times; ++t) {
                if (m == 'f')
                    frame();
                else if (k != std::string::npos)
                    key(keys[k]);
                else
                    stroke(gestureStrokes[s]);
                if (s < 5)
                    run("60f");
            }
        }
    }
    std::string says(const std::string& moves) {
        run(moves);
        return part.lineShowing || part.remarkShowing ? part.shownText : "";
    }
    int count(int icon) const { return std::count(&part.grid[0][0], &part.grid[7][10], icon); }

    int counter;
    MainPart part;
};

// A walled room of floor with every gesture's legend in the top wall, the player at (row, column),
// refusals "first N" / "again N" in the first `refusing` slots and a script that waits for ever.
struct Room : SceneDriver {
    Room(int row, int column, int refusing = 0) : SceneDriver(0) {
        for (int r = 0; r < MainPart::rows; ++r)
            for (int c = 0; c < MainPart::columns; ++c)
                part.grid[r][c] = r == 0 && c < 8 ? 32 + c : r % 7 && c % 9 ? floorIcon : 27;
        part.grid[row][column] = player;
        part.registerTemplates();
        part.refusals.assign(7, MoveRefusal{});
        for (int s = 0; s < refusing; ++s)
            part.refusals[s] = {"first " + std::to_string(s), "again " + std::to_string(s)};
        part.script = {ScriptLine{"waiting", 1, 400, -1, 0}};
        part.lineShowing = part.inConversation = false;
    }
};
} // namespace

TEST(SceneRules, RefusalsSayFirstThenRepeatAndOnlyTheUShapeEndsAConversation) {
    Room d(4, 4, 5);
    // Nothing moves while a remark shows. A refusal begins a conversation: leaving it is refused
    // too, which forgets the pointing; the U-shape ends it but points nowhere.
    const char* const steps[][2] = {{"<^", "first 2"}, {".<", "again 2"},  {".R>", "first 4"},
                                    {".>", "first 3"}, {".C>", "again 3"}, {".CR>", ""}};
    for (const auto& step : steps)
        EXPECT_EQ(d.says(step[0]), step[1]) << step[0];
    EXPECT_EQ(d.part.grid[4][5], player);
}

TEST(SceneRules, AStrokeOutlastsATextAndPointingOpensADirectionAfterTheSixtyFrameLock) {
    Room d(5, 4, 4);
    // A refusal cuts in mid-stroke; a press under it starts no stroke and a release ends none.
    d.stroke("666v");
    EXPECT_EQ(d.says(""), "first 1");
    d.stroke("6");
    EXPECT_EQ(d.part.recognizer->strokePoints.size(), 4u); // the trail still follows the mouse
    d.stroke(".666");
    EXPECT_EQ(d.part.lastGesture, 0);
    // Space with nothing showing keeps the pointing and the lock; no step or stroke meanwhile.
    d.run(".^59f^");
    d.press();
    EXPECT_FALSE(d.part.stroking);
    // Then the pointing holds for every step that way, until a stroke that matches nothing.
    EXPECT_EQ(d.says("f^^^"), "");
    EXPECT_EQ(d.part.grid[2][4], player);
    d.stroke("6");
    EXPECT_EQ(d.says("^"), "first 0");
}

TEST(SceneRules, SalesGoLeftRightUpDownAndTheFourthEndsTheScene) {
    Room d(3, 4);
    testing::internal::CaptureStdout();
    EXPECT_EQ(d.says("Z60f"), ""); // no house to sell to: nothing, but a whole output line
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gesture5\n");
    d.part.grid[3][3] = d.part.grid[3][5] = d.part.grid[2][4] = d.part.grid[4][4] = 17;
    testing::internal::CaptureStdout();
    std::vector<std::string> heard;
    for (const char* moves : {"Z", ".Z", ".Z", ".Z"})
        heard.push_back(d.says(moves));
    const std::string bargain = "Oh, that looks like a real bargain.  I'll take two!";
    EXPECT_EQ(heard, (std::vector<std::string>{
                         bargain, "Hmm...I've never bought one before, but I'll try it anyway.",
                         "Oh, I've been looking for mascara like this all my life!", bargain}));
    // One house sold at a time of the several beside; replaceNeighbour ends the Z's line.
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "gesture517,17,17,17\nfromto17,20\ngesture520,17,17,17\nfromto17,20\n"
              "gesture520,20,17,17\nfromto17,20\ngesture520,20,20,17\nfromto17,20\n");
    // The scene ends at the first frame after the last customer has been heard out.
    EXPECT_EQ((std::vector<int>{d.frame(), d.key(SDLK_SPACE), d.frame()}),
              (std::vector<int>{0, 0, 1}));
}

TEST(SceneRules, ThePropositionOffendsTheFriendEvenBesideAWillingStranger) {
    Room d(3, 4);
    d.part.grid[3][5] = 12;
    d.part.grid[2][4] = 13;
    EXPECT_EQ(d.says("P"), "What...what are you trying to do?  Cut it out, man; that's not cool.");
    EXPECT_TRUE(d.part.sceneDone); // the stranger is won all the same
}

TEST(SceneRules, DismissingAnyTextAppliesTheCurrentLinesChangeAndOffTheBoardIsSolid) {
    Room d(4, 4, 4);
    d.part.grid[4][3] = 9;
    d.part.script = {ScriptLine{"the table", 1, 9, floorIcon, 16},
                     ScriptLine{"the edge", 1, MainPart::outsideCell, -1, 0}};
    // A refusal dismissed changes the board although the line still waits for the table.
    EXPECT_EQ(d.says("v."), "");
    EXPECT_EQ(d.count(16), 6 * 8 - 2);
    EXPECT_EQ(d.says("<"), "the table");
    // Off the board is impassable and matches nothing, not even the icon that stands for it.
    d.part.grid[4][4] = 16;
    d.part.grid[0][9] = player;
    EXPECT_EQ(d.says(".^>"), "");
    EXPECT_FALSE(d.part.isNextTo(MainPart::outsideCell));
    EXPECT_EQ(d.part.grid[0][9], player);
}

TEST(SceneRules, EscapeAndTheWindowCloseWorkInEveryState) {
    // A line showing, nothing, a remark, a stroke being drawn, the blink after a gesture.
    for (int state = 0; state < 5; ++state) {
        SceneDriver d(1);
        d.run(state == 0 ? "" : state == 2 ? "8.<" : "8.");
        if (state == 3)
            d.press();
        if (state == 4)
            d.stroke(gestureStrokes[0]);
        ASSERT_EQ(!d.says("").empty() || d.part.stroking || d.part.gestureTimer, state != 1);
        EXPECT_EQ(d.key(SDLK_ESCAPE), 3) << state;
        EXPECT_EQ(d.send(SDL_QUIT), -1) << state;
    }
}

TEST(ScenePlay, TheSixScenesInARowEachFromItsSetUpToItsEnd) {
    // The moves of each scene (see SceneDriver::run); the last one ends it.
    const std::string moves[MainPart::sceneCount] = {
        ".^^<^..<<..^^....",       // the mother, the table, the walls and the floor are named
        "8.U^^^..DvvL<<.",         // point the way to the mother, then to the table
        "10.CDvvL<<<<.",           // end the talk with the U-shape, then go to the table
        ".CDv>4.CDvR>>>>U^^2.P.f", // greet the friend, go round the wall, win the stranger
        "18.^Z.^^Z.v>>>Z.Z.f",     // hear the boss out, then sell to the four houses
        "5..",                     // six lines over the void
    };
    // Icons the lines' changes leave nowhere by the end: scene 4's estate is new from line 17 on.
    const std::vector<int> gone[MainPart::sceneCount] = {{0, 1, 2, 16, 19},   {}, {}, {},
                                                         {25, 26, 27, 8, 17}, {}};
    SceneDriver d(0);
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        d.part.setUp(); // as the engine does each time the part starts
        // A frame first: nothing left over from the scene before may end this one.
        d.run("f" + moves[scene].substr(0, moves[scene].size() - 1));
        ASSERT_EQ(d.counter, scene) << "ended early";
        EXPECT_EQ(moves[scene].back() == 'f' ? d.frame() : d.key(SDLK_SPACE), 1) << scene;
        EXPECT_EQ(d.counter, scene + 1);
        for (int icon : gone[scene])
            EXPECT_EQ(d.count(icon), 0) << "scene " << scene << " icon " << icon;
    }
    EXPECT_EQ(d.counter, 6);
}

TEST(SceneContent, TextsHaveTheirLengthsAndFitTheBoxAndBoardsHoldTheirIcons) {
    // The lengths of each scene's refusals' first and repeat texts (if any), then its lines.
    const std::vector<int> lengths[MainPart::sceneCount] = {
        {33, 33, 33, 27, 25, 35, 21, 25, 44},
        {75, 73, 54, 54, 66, 54, 65, 54, 70, 92, 91, 59, 85, 85, 85, 58, 18, 43, 75},
        {35, 45, 46, 51, 27, 45, 34, 52, 77, 38, 37, 39, 56, 56, 42, 59, 22, 62, 72, 37, 54},
        {32, 25, 24, 13, 24, 12, 31, 36, 25, 18, 27, 41, 45, 41, 49, 40, 49, 34, 39, 34},
        {61, 45, 34, 50, 69, 54, 25, 73, 62, 84, 21, 16, 19, 45, 75, 29, 45, 79, 89, 71, 34},
        {25, 39, 48, 24, 13, 25}};
    // A few {icon, cells} of each board.
    const std::vector<std::pair<int, int>> counts[MainPart::sceneCount] = {
        {{19, 22}, {16, 17}, {2, 1}},  {{27, 22}, {24, 17}, {10, 1}}, {{27, 22}, {24, 17}, {9, 1}},
        {{27, 24}, {24, 15}, {13, 1}}, {{27, 22}, {26, 15}, {25, 4}}, {{32, 80}}};
    SubengineInterface none; // set-up plays no sound and draws nothing
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        const int* grid = &MainPart::sceneGrids[scene][0][0];
        for (const auto& [icon, n] : counts[scene])
            EXPECT_EQ(std::count(grid, grid + 80, icon), n) << scene << ": " << icon;
        MainPart part(&none, &scene);
        std::vector<int> sizes;
        auto add = [&sizes](const std::string& text) { // the box holds five lines of twenty
            sizes.push_back(text.size());
            EXPECT_LE(TextLayout::countLines(text.c_str(), 20), 5) << text;
        };
        for (const MoveRefusal& r : part.refusals)
            for (const std::string& text : {r.firstText, r.repeatText})
                if (!text.empty())
                    add(text);
        for (const ScriptLine& line : part.script)
            add(line.text);
        EXPECT_EQ(sizes, lengths[scene]) << "scene " << scene;
        if (scene == 2) { // the reminder for moving up is about up, not the left-hand one
            EXPECT_EQ(part.refusals[4].repeatText, "Draw a U to end the conversation, son.");
            EXPECT_NE(part.refusals[0].repeatText.find(" up "), std::string::npos);
        }
    }
    for (int scene : {-1, 6}) { // a counter outside the six scenes lays out the first
        MainPart part(&none, &scene);
        EXPECT_TRUE(std::equal(&part.grid[0][0], &part.grid[8][0], &MainPart::sceneGrids[0][0][0]));
    }
}

TEST(SceneDrawing, BoardBlinkBoxAndPointerAsTheIconSheetAndTheBoxDrawThemAlone) {
    REQUIRE_DISPLAY();
    // Showing a line, a remark, nothing (the first line stays in shownText), then gestureTimer
    // values: at the first seven the player cells show the Z's legend icon, at the rest the player.
    const int timers[16] = {0, 0, 0, 60, 49, 40, 29, 20, 9, 1, 59, 50, 39, 30, 19, 10};
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        MainPart part(testSubsystems(), &scene);
        part.mouseX = 300, part.mouseY = 250;
        part.lastGesture = 5;
        part.grid[7][0] = 0; // every player form blinks, not only the player's own cell
        for (int i = 0; i < 16; ++i) {
            part.lineShowing = i == 0;
            part.remarkShowing = i == 1;
            part.gestureTimer = timers[i];
            glBlendFunc(GL_ONE, GL_ZERO); // other parts may leave additive blending behind
            glDisable(GL_BLEND);
            glClear(GL_COLOR_BUFFER_BIT);
            glColor4f(1, 1, 1, 1);
            for (int c = 0; c < MainPart::columns; ++c)
                for (int r = 0; r < MainPart::rows; ++r) {
                    const int icon = part.grid[r][c], blinks = i >= 3 && i < 10;
                    part.video->icons->drawIcon(64 * c, 64 * r,
                                                blinks && (icon == 0 || icon == 8) ? 38 : icon);
                }
            if (i < 2) {
                part.video->drawBox(179, 4, 525, 100);
                part.video->font->drawWrappedText(185, 11, 20, part.shownText.c_str());
            }
            if (scene != 0 && scene != 5) // only scenes that take gestures show the pointer
            { // the silhouette clears the ground to black, then the arrow is added
                glEnable(GL_BLEND);
                glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
                part.video->icons->drawIcon(300 - 9, 250 - 10, Icon::pointerSilhouette);
                glBlendFunc(GL_ONE, GL_ONE);
                part.video->icons->drawIcon(300 - 9, 250 - 10, Icon::pointer);
                glBlendFunc(GL_ONE, GL_ZERO);
            }
            const std::vector<Rgb> expected = readWindow();
            ASSERT_FALSE(scene < 5 && expected == std::vector<Rgb>(640 * 480)) << "nothing drawn";
            part.draw();
            EXPECT_TRUE(readWindow() == expected) << "scene " << scene << " state " << i;
        }
    }
}
