// The six scenes as laid out: boards, legends, the texts' lengths and their fit in the box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "graphics/TextLayout.h"
#include "parts/MainPart.h"

namespace {
// Per scene, the lengths of its texts: the refusal slots' first and repeat texts (empty slots
// left out), then the script lines in order.
const std::vector<int> lengths[MainPart::sceneCount] = {
    {33, 33, 33, 27, 25, 35, 21, 25, 44},
    {75, 73, 54, 54, 66, 54, 65, 54, 70, 92, 91, 59, 85, 85, 85, 58, 18, 43, 75},
    {35, 45, 46, 51, 27, 45, 34, 52, 77, 38, 37, 39, 56, 56, 42, 59, 22, 62, 72, 37, 54},
    {32, 25, 24, 13, 24, 12, 31, 36, 25, 18, 27, 41, 45, 41, 49, 40, 49, 34, 39, 34},
    {61, 45, 34, 50, 69, 54, 25, 73, 62, 84, 21, 16, 19, 45, 75, 29, 45, 79, 89, 71, 34},
    {25, 39, 48, 24, 13, 25},
};
// Per scene, {icon, cells} for a few icons, and the gestures its legend offers.
const std::vector<std::pair<int, int>> counts[MainPart::sceneCount] = {
    {{19, 22}, {16, 17}, {0, 1}, {1, 1}, {2, 1}},    {{27, 22}, {24, 17}, {8, 1}, {9, 1}, {10, 1}},
    {{27, 22}, {24, 17}, {8, 1}, {9, 1}, {10, 1}},   {{27, 24}, {24, 15}, {8, 1}, {12, 1}, {13, 1}},
    {{27, 22}, {26, 15}, {25, 4}, {8, 1}, {32, 32}}, {{32, 80}}};
const std::vector<int> legends[MainPart::sceneCount] = {
    {}, {0, 1, 2, 3}, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 6}, {0, 1, 2, 3, 4, 5}, {}};
} // namespace

TEST(SceneContent, BoardsAndTextsAreLaidOutAsWritten) {
    SubengineInterface none; // set-up plays no sound and draws nothing
    int scene = 0;
    MainPart part(&none, &scene);
    std::string greeting;
    for (; scene < MainPart::sceneCount; ++scene) {
        part.setUp();
        const auto& grid = MainPart::sceneGrids[scene];
        EXPECT_EQ(std::memcmp(part.grid, grid, sizeof part.grid), 0);
        for (const auto& [icon, n] : counts[scene])
            EXPECT_EQ(std::count(&grid[0][0], &grid[0][0] + 80, icon), n) << scene << ": " << icon;
        EXPECT_EQ(part.recognizer->templateIds, legends[scene]) << "scene " << scene;

        std::vector<std::string> texts;
        for (const MoveRefusal& r : part.refusals)
            for (const std::string& text : {r.firstText, r.repeatText})
                if (!text.empty())
                    texts.push_back(text);
        for (const ScriptLine& line : part.script)
            texts.push_back(line.text);
        ASSERT_EQ(texts.size(), lengths[scene].size()) << "scene " << scene;
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].size(), static_cast<size_t>(lengths[scene][i])) << texts[i];
            // The box holds five lines of twenty characters, broken the way it breaks them.
            EXPECT_LE(TextLayout::countLines(texts[i].c_str(), 20), 5) << texts[i];
        }
        if (scene == 2) {
            EXPECT_EQ(part.refusals[4].repeatText, "Make a U-shape to end the conversation");
            // Moving up is refused with a reminder about up, not the left-hand one.
            EXPECT_NE(part.refusals[0].repeatText.find(" up "), std::string::npos);
        }
        // The stranger's greeting also closes scenes 3 and 4.
        greeting = scene == 3 ? part.script[5].text : greeting;
        EXPECT_TRUE(scene < 3 || scene > 4 || part.script.back().text == greeting) << scene;
    }
    // A counter outside the six scenes lays out the first.
    for (scene = -1; scene <= 6; scene += 7) {
        part.setUp();
        EXPECT_EQ(std::memcmp(part.grid, MainPart::sceneGrids[0], sizeof part.grid), 0);
    }
}
