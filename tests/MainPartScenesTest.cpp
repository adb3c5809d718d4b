// The six scenes: each played from its set-up to its end by the moves a player makes, what the
// boards are and become, and what the texts say.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

#include "graphics/TextLayout.h"
#include "parts/Direction.h"
#include "tests/SceneDriver.h"
#include "tests/ScenePaths.h"

namespace {
using Board = std::vector<int>; // a grid, row by row

Board boardOf(const int (&grid)[MainPart::rows][MainPart::columns]) {
    return Board(&grid[0][0], &grid[0][0] + MainPart::rows * MainPart::columns);
}

bool isLegend(int icon) {
    return icon >= Icon::firstLegend && icon < Icon::firstLegend + gestureCount;
}

// What a cell is to the room: wall, void, or anything else.
char kindOf(int icon) {
    return icon == Icon::wall ? 'W' : icon == Icon::voidTile ? 'V' : '.';
}
} // namespace

TEST(ScenePlay, TheSixScenesInARowEachFromItsSetUpToItsEnd) {
    SceneDriver d(0);
    std::vector<Board> ends;
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        d.part.setUp(); // as the engine does each time the part starts
        d.run("f");     // nothing left over from the scene before may end this one
        const std::string moves = SceneDriver::expand(scenePaths[scene]);
        // Every move counts: it walks, opens or closes a text, or points; none is wasted on a
        // wall or a person that stands elsewhere than the story needs.
        for (size_t i = 0; i < moves.size(); ++i) {
            const MainPart& p = d.part;
            const auto state = [&] {
                return std::make_tuple(boardOf(p.grid), p.shownText, p.lineShowing, p.remarkShowing,
                                       p.lastGesture, d.counter);
            };
            const auto before = state();
            ASSERT_FALSE(d.ended) << "scene " << scene << " ended early";
            d.run(std::string(1, moves[i]) + (i + 1 == moves.size() ? "f" : ""));
            EXPECT_NE(state(), before) << "scene " << scene << " move " << i << " did nothing";
        }
        EXPECT_TRUE(d.ended) << "scene " << scene << " did not end";
        EXPECT_EQ(d.counter, scene + 1);
        d.ended = false;
        ends.push_back(boardOf(d.part.grid));
    }
    // The first words leave the room of the pointing lesson in its real icons, the mother where
    // she stands there; only the table and the boy stand elsewhere, and the legend is new.
    const Board lesson = boardOf(MainPart::sceneGrids[1]);
    for (size_t i = 0; i < lesson.size(); ++i) {
        const int was = ends[0][i], is = lesson[i];
        const bool moves = was == Icon::table || is == Icon::table || MainPart::isPlayerIcon(was) ||
                           MainPart::isPlayerIcon(is);
        EXPECT_TRUE(isLegend(is) ? was == Icon::voidTile : moves || was == is) << "cell " << i;
    }
    for (int named : {Icon::boy, Icon::table, Icon::mother})
        EXPECT_EQ(std::count(ends[0].begin(), ends[0].end(), named), 1) << "named, " << named;
    // The boss turns the estate into its late forms, the boy with it; the sales sell every house.
    const Board estate = boardOf(MainPart::sceneGrids[4]);
    const std::pair<int, int> turned[] = {{Icon::wall, Icon::wallFirstForm},
                                          {Icon::ground, Icon::groundLateForm},
                                          {Icon::house, Icon::soldHouse},
                                          {Icon::boy, Icon::boyLateForm}};
    for (auto [usual, late] : turned) {
        EXPECT_EQ(std::count(ends[4].begin(), ends[4].end(), usual), 0) << usual;
        EXPECT_EQ(std::count(ends[4].begin(), ends[4].end(), late),
                  std::count(estate.begin(), estate.end(), usual))
            << late;
    }
}

// A player who does exactly what each refusal says, in the order it says it, then tries the
// move again, walks from the mother to the table: no reminder asks for one step of two.
TEST(ScenePlay, DoingWhatEachRefusalSaysLeadsFromTheMotherToTheTable) {
    SceneDriver d(2);
    d.run("10."); // the mother's lesson
    std::string path = "vv<<<<", said;
    for (int tries = 0; tries < 30 && !path.empty(); ++tries) {
        said = d.says(path.substr(0, 1));
        if (said.empty() || said.find("wit") != std::string::npos) { // the boy moved
            path.erase(0, 1);
            continue;
        }
        d.run(".");
        const size_t u = said.find(" U"), point = std::min(said.find("point"), said.find("show"));
        const std::string pointThere(1, "UDLR"[std::string("^v<>").find(path[0])]);
        d.run(u < point ? "C" + (point == std::string::npos ? "" : pointThere)
                        : (point == std::string::npos ? "" : pointThere) +
                              (u == std::string::npos ? "" : "C"));
    }
    EXPECT_NE(said.find("wit"), std::string::npos) << "stuck after \"" << said << "\"";
}

TEST(SceneContent, ScenesOneToFourAreOneRoomWithTheLegendDownItsLeftSide) {
    const Board room = boardOf(MainPart::sceneGrids[1]);
    for (int scene = 1; scene <= 4; ++scene) {
        const Board board = boardOf(MainPart::sceneGrids[scene]);
        int legends = 0, lastLegend = -1;
        for (int i = 0; i < MainPart::rows * MainPart::columns; ++i) {
            const int row = i / MainPart::columns, column = i % MainPart::columns;
            // The friend's scene hides the stranger behind an inner wall.
            const bool innerWall = scene == 3 && column == 5 && (row == 2 || row == 3);
            if (isLegend(board[i])) { // one under another from the top, in the order of the ids
                EXPECT_TRUE(column == 1 && row == 1 + legends++ && board[i] > lastLegend)
                    << "scene " << scene << " legend at " << i;
                lastLegend = board[i];
            } else if (!isLegend(room[i])) {
                EXPECT_EQ(kindOf(board[i]), innerWall ? 'W' : kindOf(room[i]))
                    << "scene " << scene << " cell " << i;
            }
        }
    }
    const Board ending = boardOf(MainPart::sceneGrids[5]);
    EXPECT_EQ(std::count(ending.begin(), ending.end(), Icon::voidTile), 80);
    for (int scene : {-1, MainPart::sceneCount}) { // a counter off the table lays out the first
        SubengineInterface none;
        MainPart part(&none, &scene);
        EXPECT_EQ(boardOf(part.grid), boardOf(MainPart::sceneGrids[0]));
    }
}

TEST(SceneContent, EveryTextFitsTheBoxKeepsItsLengthAndSaysWhatItMust) {
    // The lengths of each scene's refusals' first and repeat texts (if any), then its lines.
    const std::vector<int> lengths[MainPart::sceneCount] = {
        {33, 33, 33, 27, 25, 35, 21, 25, 44},
        {75, 73, 54, 54, 66, 54, 65, 54, 70, 92, 91, 59, 85, 85, 85, 58, 18, 43, 75},
        {35, 45, 46, 51, 27, 45, 34, 52, 77, 38, 37, 39, 56, 56, 42, 59, 22, 62, 72, 37, 54},
        {32, 25, 24, 13, 24, 12, 31, 36, 25, 18, 27, 41, 45, 41, 49, 40, 49, 34, 39, 34},
        {61, 45, 34, 50, 69, 54, 25, 73, 62, 84, 21, 16, 19, 45, 75, 29, 45, 79, 89, 71, 34},
        {25, 39, 48, 24, 13, 25}};
    // Words each line must hold, by meaning ("a+b": both), so that no line can stand in for
    // another: the walls are named when the walls are asked for, the U is taught as a U...
    const char* const keyWords[MainPart::sceneCount] = {
        "over|mother|table|table|walls|walls|floor|boy|quick",
        "lesson|mad|sign|gesture|drag|understand|shock|hello|Good|table|body",
        "grow|baby|night|live on|art|important|end one|big U+right|leave|table|wit",
        "Long time|classes|corner|checking|hello|noticed|sweet|noticed",
        "first day|sales|door to door|know|A to B|concepts|alert|surroundings|look around|really|"
        "everything|how you look|pander|sale counts|mascara|big Z+house|goodbye|estate|noticed",
        "profit|eyes|symbol|you are you|free|feel"};
    // The same for each refusal's first and repeat texts, slot by slot.
    const char* const refusalWords[MainPart::sceneCount] = {
        "",
        "point towards me|point north|south|south|west|west|east|east",
        "learn nothing|U+point up|U+point down|U+down|vulgar+U+point|U+point left|act like "
        "that|U+right|"
        "walk away+U+point|U+point",
        "exactly|absent-minded|wrong|Point+idiot|manners|Point+boor|confused|foreigner|walking "
        "away|"
        "rude+U+point|"
        "hesitating|talk to him",
        "thin air|rehearsing",
        ""};
    // A refusal that names a direction names the one its slot refuses.
    const std::map<std::string, int> directionWords = {
        {"up", moveUp},       {"upwards", moveUp},     {"north", moveUp},  {"down", moveDown},
        {"south", moveDown},  {"downwards", moveDown}, {"left", moveLeft}, {"west", moveLeft},
        {"right", moveRight}, {"east", moveRight}};
    // Each '|' piece of `keys` in turn names words ("a+b": both) the next text must hold.
    auto holds = [](const std::string& text, std::istringstream& keys) {
        std::string words;
        std::getline(keys, words, '|');
        for (size_t from = 0, plus; from <= words.size(); from = plus + 1) {
            plus = std::min(words.find('+', from), words.size());
            EXPECT_NE(text.find(words.substr(from, plus - from)), std::string::npos) << text;
        }
    };
    std::vector<int> sizes;
    auto add = [&sizes](const std::string& text) { // the box holds five lines of twenty
        sizes.push_back(static_cast<int>(text.size()));
        EXPECT_LE(TextLayout::countLines(text.c_str(), 20), 5) << text;
    };
    SubengineInterface none; // set-up plays no sound and draws nothing
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        MainPart part(&none, &scene);
        sizes.clear();
        std::istringstream lineWords(keyWords[scene]), refusalKeys(refusalWords[scene]);
        for (size_t slot = 0; slot < part.refusals.size(); ++slot)
            for (std::string text : {part.refusals[slot].firstText, part.refusals[slot].repeatText})
                if (!text.empty()) {
                    add(text);
                    holds(text, refusalKeys);
                    std::replace_if(
                        text.begin(), text.end(), [](char c) { return !std::isalpha(c); }, ' ');
                    std::istringstream words(text);
                    for (std::string w; words >> w;) {
                        std::transform(w.begin(), w.end(), w.begin(), ::tolower);
                        const auto named = directionWords.find(w);
                        EXPECT_TRUE(named == directionWords.end() ||
                                    static_cast<size_t>(named->second) == slot)
                            << "slot " << slot << " names " << w;
                    }
                }
        for (const ScriptLine& line : part.script) {
            add(line.text);
            holds(line.text, lineWords);
        }
        EXPECT_EQ(sizes, lengths[scene]) << "scene " << scene;
    }
    // The reactions to gestures: the four customers, the stranger, the friend.
    const MainPart::Reactions& r = MainPart::reactions;
    std::istringstream reactionWords("bargain|never bought|mascara|bargain|my place|not cool");
    sizes.clear();
    for (const char* text : {r.customers[0], r.customers[1], r.customers[2], r.customers[3],
                             r.stranger, r.oldFriend}) {
        add(text);
        holds(text, reactionWords);
    }
    EXPECT_EQ(sizes, std::vector<int>({51, 59, 56, 51, 41, 68}));
}
