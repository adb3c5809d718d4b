// The scene part's rules, played without a window as the frame loop plays them: refusals,
// conversations, pointing, strokes, sales, the proposition, what each sounds like, and the
// scenes' texts. (The scenes' boards are checked move by move by the end-to-end replay.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

#include "app/PartResult.h"
#include "graphics/TextLayout.h"
#include "parts/Direction.h"
#include "parts/MainPart.h"
#include "parts/SceneLayout.h"
#include "sound/SoundSystem.h"
#include "tests/Moves.h"
#include "tests/TestSupport.h"

namespace {
// Scene `scene` as the frame loop plays it: events through handleEvent, one update a frame.
struct Scene {
    explicit Scene(int scene) : counter(scene), part(soundOnly(), &counter) {}
    int send(Uint8 type, SDLKey sym = SDLK_UNKNOWN) {
        SDL_Event e{}; // keys read the sym, buttons the button; positions come from the part
        e.type = type, e.key.keysym.sym = sym, e.button.button = SDL_BUTTON_LEFT;
        return part.handleEvent(&e);
    }
    // Moves as in Moves.h, 'f' for a frame, and in `codes` the samples of a stroke made with
    // the button held (a frame each). A gesture is followed by the frames of its lock.
    void run(const std::string& moves, const char* codes = nullptr) {
        static const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
        for (char m : codes ? std::string(codes) : expandMoves(moves))
            if (codes && m >= '0' && m <= '7') {
                part.mouseX += strokeStepX[m - '0'], part.mouseY += strokeStepY(m - '0');
                part.update();
            } else if (const char* k = std::strchr(moveKeys, m); m == 'f' || k) {
                m == 'f' ? part.update() : send(SDL_KEYDOWN, keys[k - moveKeys]);
            } else if (const char* g = std::strchr(gestureMoves, m)) {
                stroke(gestureStrokes[g - gestureMoves]);
                if (g - gestureMoves <= uShape)
                    run(std::to_string(MainPart::gestureLockFrames) + "f");
            }
    }
    // Press, the samples (other characters are moves made meanwhile), release.
    void stroke(const char* codes) {
        send(SDL_MOUSEBUTTONDOWN), run("", codes), send(SDL_MOUSEBUTTONUP);
    }
    // Runs the moves and gives the text then on show, or "" for none.
    std::string says(const std::string& moves) {
        run(moves);
        return part.lineShowing || part.remarkShowing ? part.shownText : "";
    }
    int counter;
    MainPart part;
};

// A walled room of floor with every gesture's legend in the top wall, the boy at (row, column),
// refusals "first N" / "again N" in the first `refusing` slots and a script that waits for ever.
struct Room : Scene {
    Room(int row, int column, int refusing = 0) : Scene(0) {
        for (int r = 0; r < MainPart::rows; ++r)
            for (int c = 0; c < MainPart::columns; ++c)
                part.grid[r][c] = r == 0 && c >= 1 && c <= gestureCount ? Icon::firstLegend + c - 1
                                  : r % 7 && c % 9                      ? Icon::floor
                                                                        : Icon::wall;
        part.grid[row][column] = Icon::boy;
        part.registerTemplates();
        part.refusals.assign(refusalSlotCount, MoveRefusal{});
        for (int s = 0; s < refusing; ++s)
            part.refusals[s] = {"first " + std::to_string(s), "again " + std::to_string(s)};
        part.script = {onWalkingInto(Icon::nowhere, "waiting")};
        part.lineShowing = part.inConversation = false;
    }
};
} // namespace

TEST(SceneRules, RefusalsSayFirstThenRepeatAndOnlyTheUShapeEndsAConversation) {
    Room d(4, 4, leavingSlot + 1);
    // Nothing moves while a remark shows. A refusal begins a conversation: leaving it is refused
    // too, which forgets the pointing; the U-shape ends it but points nowhere.
    const char* const steps[][2] = {{"<^", "first 2"}, {".<", "again 2"},  {".R>", "first 4"},
                                    {".>", "first 3"}, {".C>", "again 3"}, {".CR>", ""}};
    for (const auto& step : steps)
        EXPECT_EQ(d.says(step[0]), step[1]) << step[0];
    EXPECT_EQ(d.part.grid[4][5], Icon::boy);
}

TEST(SceneRules, AStrokeOutlastsATextAndPointingOpensADirectionAfterTheLock) {
    Room d(5, 4, 4);
    // A refusal cuts in mid-stroke; a press under it starts no stroke and a release ends none.
    d.stroke("666v");
    EXPECT_EQ(d.says(""), "first 1");
    d.stroke("6");
    EXPECT_EQ(d.part.recognizer->strokePoints.size(), 4u); // the trail still follows the mouse
    d.stroke(".666");
    EXPECT_EQ(d.part.lastGesture, pointUp);
    // Space with nothing showing keeps the pointing and the lock of 60 frames; no step or
    // stroke meanwhile.
    d.run(".59f^");
    d.send(SDL_MOUSEBUTTONDOWN);
    EXPECT_FALSE(d.part.stroking);
    // Then the pointing holds for every step that way, until a stroke that matches nothing.
    EXPECT_EQ(d.says("f^^^"), "");
    EXPECT_EQ(d.part.grid[2][4], Icon::boy);
    d.stroke("6");
    EXPECT_EQ(d.says("^"), "first 0");
}

TEST(SceneRules, SpeechGesturesAndNothingElseMakeASound) {
    Room d(4, 4, 4);
    d.part.grid[4][3] = Icon::table;
    EXPECT_EQ(heard([&] { d.run("v"); }), "good") << "a refusal";
    EXPECT_EQ(heard([&] { d.run("."); }), "") << "its dismissal";
    EXPECT_EQ(heard([&] { d.stroke("6"); }), "") << "a stroke that matches nothing";
    EXPECT_EQ(heard([&] { d.stroke(gestureStrokes[pointLeft]); }), "bad") << "a gesture";
    d.part.script = {onWalkingInto(Icon::table, "the table"), said("and more")};
    EXPECT_EQ(heard([&] { d.run("60f<"); }), "good") << "walking into the waiting line";
    EXPECT_EQ(heard([&] { d.run("."); }), "good") << "the line after it";
    EXPECT_EQ(heard([&] { d.part.setUp(); }), "") << "the first line of a scene";
    EXPECT_TRUE(d.part.lineShowing);
}

TEST(SceneRules, TheNoiseSwellsWhileAStrokeIsDrawnAndSinksAfter) {
    Room d(4, 4);
    SoundSystem* sound = d.part.sound;
    sound->setBackgroundVolume(0.1f);
    d.send(SDL_MOUSEBUTTONDOWN);
    const float volumes[] = {(d.run("3f"), sound->backgroundVolume),
                             (d.run("30f"), sound->backgroundVolume),
                             (d.send(SDL_MOUSEBUTTONUP), d.run("3f"), sound->backgroundVolume),
                             (d.run("30f"), sound->backgroundVolume)};
    // 0.008 a frame, up to about 0.3 and back down to about 0.1.
    const float expected[] = {0.124f, 0.308f, 0.284f, 0.1f};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(volumes[i], expected[i], 1e-5) << i;
}

TEST(SceneRules, ACustomerBuysFromTheBoyBesideHisHouseAndTheFourthSaleEndsTheScene) {
    Room d(3, 4);
    testing::internal::CaptureStdout();
    EXPECT_EQ(d.says("Z60f"), ""); // no house to sell to: nothing, but a whole output line
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gesture5\n");
    d.part.grid[3][3] = d.part.grid[3][5] = d.part.grid[2][4] = d.part.grid[4][4] =
        Icon::houseLateForm;
    const char* const said[] = {"a real bargain", "never bought one", "mascara", "a real bargain"};
    for (const char* words : said) // (which house sells first, the replay's output lines tell)
        EXPECT_NE(d.says(".Z").find(words), std::string::npos) << words;
    // The scene ends at the first frame after the last customer has been heard out.
    EXPECT_EQ((std::vector<int>{d.part.update(), d.send(SDL_KEYDOWN, SDLK_SPACE), d.part.update()}),
              (std::vector<int>{PartResult::goOn, PartResult::goOn, PartResult::next}));
    EXPECT_EQ(d.counter, 1);
}

TEST(SceneContent, EveryTextFitsTheBoxAndSaysWhatItMustWhereItMust) {
    // Words each line must hold, by meaning ("a+b": both), so that no line can stand in for
    // another: the walls are named when the walls are asked for, the U is taught as a U...
    const char* const lineWords[MainPart::sceneCount] = {
        "over|mother|table|table|walls|walls|floor|boy|quick",
        "lesson|mad|sign|gesture|drag|understand|shock|hello|Good|table|body",
        "grow|baby|night|live on|art|important|end one|big U+right|leave|table|wit",
        "Long time|classes|corner|checking|hello|noticed|sweet|noticed",
        "first day|sales|door to door|know|A to B|concepts|alert|surroundings|look around|really|"
        "everything|how you look|pander|sale counts|mascara|big Z+house|goodbye|estate|noticed",
        "profit|eyes|symbol|you are you|free|feel"};
    // The same for each refusal's first and repeat texts, slot by slot: each slot refuses the
    // move its words name.
    const char* const refusalWords[MainPart::sceneCount] = {
        "",
        "point towards me|point north|south|south|west|west|east|east",
        "learn nothing|U+point up|U+point down|U+down|vulgar+U+point|U+point left|act like that|"
        "U+right|walk away+U+point|U+point",
        "exactly|absent-minded|wrong|Point+idiot|manners|Point+boor|confused|foreigner|"
        "walking away|rude+U+point|hesitating|talk to him",
        "thin air|rehearsing",
        ""};
    // Each '|' piece of `keys` in turn names words the next text must hold; the box holds it.
    auto check = [](const std::string& text, std::istringstream& keys) {
        EXPECT_LE(TextLayout::countLines(text.c_str(), SceneLayout::textWidth),
                  SceneLayout::textLines)
            << text;
        std::string words;
        std::getline(keys, words, '|');
        for (size_t from = 0, plus; from <= words.size(); from = plus + 1) {
            plus = std::min(words.find('+', from), words.size());
            EXPECT_NE(text.find(words.substr(from, plus - from)), std::string::npos) << text;
        }
    };
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        Scene s(scene);
        std::istringstream lineKeys(lineWords[scene]), refusalKeys(refusalWords[scene]);
        for (size_t slot = 0; slot < s.part.refusals.size(); ++slot)
            for (const std::string& text :
                 {s.part.refusals[slot].firstText, s.part.refusals[slot].repeatText})
                if (!text.empty())
                    check(text, refusalKeys);
        for (const ScriptLine& line : s.part.script)
            check(line.text, lineKeys);
        EXPECT_EQ(lineKeys.peek(), EOF) << "scene " << scene << " lost a line";
    }
    const MainPart::Reactions& r = MainPart::reactions; // to the Z-shape and the proposition
    std::istringstream reactionKeys("bargain|never bought|mascara|bargain|my place|not cool");
    for (const char* text :
         {r.customers[0], r.customers[1], r.customers[2], r.customers[3], r.stranger, r.oldFriend})
        check(text, reactionKeys);
    for (int scene : {-1, MainPart::sceneCount}) { // a counter off the table lays out the first
        Scene s(scene);
        EXPECT_TRUE(std::equal(&s.part.grid[0][0], &s.part.grid[0][0] + 80,
                               &MainPart::sceneGrids[0][0][0]));
    }
}
