// The six scenes as laid out: boards, refusal texts and scripts, their lengths, and whether
// every text fits the message box.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "graphics/TextLayout.h"
#include "parts/MainPart.h"

namespace {

// The message box shows five lines of twenty characters.
const int boxWidth = 20;
const int boxLines = 5;

// Stored lengths of every text, as the scenes were written: refusal slots {first, repeat}
// (0 for an empty slot), then the script lines in order.
struct SceneLengths {
    int refusals[7][2];
    std::vector<int> lines;
};

const SceneLengths expectedLengths[MainPart::sceneCount] = {
    {{}, {33, 33, 33, 27, 25, 35, 21, 25, 44}},
    {{{75, 73}, {54, 54}, {66, 54}, {65, 54}}, {70, 92, 91, 59, 85, 85, 85, 58, 18, 43, 75}},
    {{{35, 45}, {46, 51}, {27, 45}, {34, 52}, {77, 38}},
     {37, 39, 56, 56, 42, 59, 22, 62, 72, 37, 54}},
    {{{32, 25}, {24, 13}, {24, 12}, {31, 36}, {25, 18}, {0, 0}, {27, 41}},
     {45, 41, 49, 40, 49, 34, 39, 34}},
    {{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {61, 45}},
     {34, 50, 69, 54, 25, 73, 62, 84, 21, 16, 19, 45, 75, 29, 45, 79, 89, 71, 34}},
    {{}, {25, 39, 48, 24, 13, 25}},
};

// The lines that do more than open after the line before them, as {line, triggerKind,
// triggerArg, replaceFrom, replaceTo}; every other line is {0, 0, -1, 0}.
struct Line {
    int index, kind, arg, from, to;
};
const std::vector<Line> specialLines[MainPart::sceneCount] = {
    {{1, 1, 2, 2, 10}, {3, 1, 1, 1, 9}, {5, 1, 19, 19, 27}, {6, 0, 0, 16, 24}, {7, 0, 0, 0, 8}},
    {{8, 1, 10, -1, 0}, {10, 1, 9, -1, 0}},
    {{10, 1, 9, -1, 0}},
    {{1, 1, 12, -1, 0}, {5, 1, 13, -1, 0}, {7, 1, 400, -1, 0}},
    {{8, 0, 0, 27, 19},
     {9, 0, 0, 26, 18},
     {10, 0, 0, 25, 17},
     {11, 0, 0, 8, 3},
     {12, 0, 0, 27, 19},
     {13, 0, 0, 27, 19},
     {14, 0, 0, 27, 19},
     {15, 0, 0, 27, 19},
     {16, 0, 0, 27, 19},
     {17, 0, 0, 27, 19},
     {18, 1, 400, -1, 0}},
    {},
};

using Board = int[MainPart::rows][MainPart::columns];

int countIcon(const Board& board, int icon) {
    int count = 0;
    for (const auto& row : board)
        for (int cell : row)
            count += cell == icon;
    return count;
}

class SceneContent : public ::testing::Test {
  protected:
    // Set-up plays no sound and draws nothing, so the part needs no subsystems here.
    SubengineInterface none;
    int sceneIndex = 0;
    MainPart part{&none, &sceneIndex};

    void layOut(int scene) {
        sceneIndex = scene;
        part.setUp();
    }

    // Every fault of one text, or nothing when it is right.
    static std::string faultsOf(const std::string& text, int length) {
        std::string faults;
        if (static_cast<int>(text.size()) != length)
            faults += " length " + std::to_string(text.size()) + " not " + std::to_string(length);
        for (char ch : text)
            if (ch < 32 || ch > 126) {
                faults += " holds a character the font lacks";
                break;
            }
        // Broken as the box breaks it; a line may not open with a space either.
        TextPiece pieces[16];
        const int lines = TextLayout::breakLines(text.c_str(), boxWidth, pieces, 16);
        if (lines > boxLines)
            faults += " takes " + std::to_string(lines) + " lines";
        for (int i = 0; i < lines && i < 16; ++i)
            if (pieces[i].length > 0 && text[pieces[i].offset] == ' ')
                faults += " has a line starting with a space";
        return faults;
    }
};

TEST_F(SceneContent, EveryTextHasItsLengthAndFitsTheBox) {
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        layOut(scene);
        const SceneLengths& want = expectedLengths[scene];
        ASSERT_EQ(part.refusals.size(), 7u) << "scene " << scene;
        for (int slot = 0; slot < 7; ++slot) {
            const MoveRefusal& r = part.refusals[slot];
            EXPECT_FALSE(r.said) << "scene " << scene << " slot " << slot;
            EXPECT_EQ(faultsOf(r.firstText, want.refusals[slot][0]), "")
                << "scene " << scene << " slot " << slot << " first: \"" << r.firstText << "\"";
            EXPECT_EQ(faultsOf(r.repeatText, want.refusals[slot][1]), "")
                << "scene " << scene << " slot " << slot << " repeat: \"" << r.repeatText << "\"";
        }
        ASSERT_EQ(part.script.size(), want.lines.size()) << "scene " << scene;
        for (size_t i = 0; i < part.script.size(); ++i)
            EXPECT_EQ(faultsOf(part.script[i].text, want.lines[i]), "")
                << "scene " << scene << " line " << i << ": \"" << part.script[i].text << "\"";
        // Every scene opens on its first line.
        EXPECT_TRUE(part.lineShowing) << "scene " << scene;
        EXPECT_EQ(part.shownText, part.script[0].text) << "scene " << scene;
    }
}

TEST_F(SceneContent, RepeatedTextsAreTheSameAndTheUpReminderSaysUp) {
    layOut(1);
    EXPECT_EQ(part.refusals[1].firstText, part.refusals[1].repeatText);

    layOut(2);
    EXPECT_EQ(part.refusals[4].repeatText, "Make a U-shape to end the conversation");
    // Moving up is refused with a reminder about up, not the left-hand one.
    EXPECT_NE(part.refusals[0].repeatText, part.refusals[2].repeatText);
    EXPECT_NE(part.refusals[0].repeatText.find(" up "), std::string::npos);
    EXPECT_NE(part.refusals[2].repeatText.find(" left "), std::string::npos);

    // The stranger's greeting also closes scenes 3 and 4.
    layOut(3);
    const std::string greeting = part.script[5].text;
    EXPECT_EQ(part.script[7].text, greeting);
    layOut(4);
    EXPECT_EQ(part.script[18].text, greeting);
}

TEST_F(SceneContent, LinesOpenAndChangeTheBoardAsTheScenesTell) {
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        layOut(scene);
        std::vector<Line> want;
        for (size_t i = 0; i < expectedLengths[scene].lines.size(); ++i)
            want.push_back({static_cast<int>(i), 0, 0, -1, 0});
        for (const Line& line : specialLines[scene])
            want.at(line.index) = line;
        ASSERT_EQ(part.script.size(), want.size()) << "scene " << scene;
        for (const Line& line : want) {
            const ScriptLine& got = part.script[line.index];
            const std::string where =
                "scene " + std::to_string(scene) + " line " + std::to_string(line.index);
            EXPECT_EQ(got.triggerKind, line.kind) << where;
            EXPECT_EQ(got.triggerArg, line.arg) << where;
            EXPECT_EQ(got.replaceFrom, line.from) << where;
            EXPECT_EQ(got.replaceTo, line.to) << where;
        }
    }

    // Making every change in order names all of scene 0 and turns the estate of scene 4 into
    // its late forms, leaving nothing in a form the lines skipped.
    Board board;
    for (int scene : {0, 4}) {
        layOut(scene);
        for (int r = 0; r < MainPart::rows; ++r)
            for (int c = 0; c < MainPart::columns; ++c)
                board[r][c] = part.grid[r][c];
        for (const ScriptLine& line : part.script)
            if (line.replaceFrom >= 0)
                for (auto& row : board)
                    for (int& cell : row)
                        if (cell == line.replaceFrom)
                            cell = line.replaceTo;
        if (scene == 0) {
            for (int gone : {0, 1, 2, 16, 19})
                EXPECT_EQ(countIcon(board, gone), 0) << "icon " << gone;
            EXPECT_EQ(countIcon(board, 10), 1);
            EXPECT_EQ(countIcon(board, 9), 1);
            EXPECT_EQ(countIcon(board, 8), 1);
            EXPECT_EQ(countIcon(board, 27), 22);
            EXPECT_EQ(countIcon(board, 24), 17);
        } else {
            for (int gone : {25, 26, 27, 8})
                EXPECT_EQ(countIcon(board, gone), 0) << "icon " << gone;
            EXPECT_EQ(countIcon(board, 17), 4);
            EXPECT_EQ(countIcon(board, 18), 15);
            EXPECT_EQ(countIcon(board, 19), 22);
            EXPECT_EQ(countIcon(board, 3), 1);
        }
    }
}

TEST_F(SceneContent, BoardsAreLaidOutAsDrawn) {
    const auto& g = MainPart::sceneGrids;
    // Icon counts per scene, {icon, cells}; with the legend they cover all 80 cells.
    const std::vector<std::pair<int, int>> counts[MainPart::sceneCount] = {
        {{19, 22}, {16, 17}, {0, 1}, {1, 1}, {2, 1}, {32, 38}},
        {{27, 22}, {24, 17}, {8, 1}, {9, 1}, {10, 1}, {32, 34}},
        {{27, 22}, {24, 17}, {8, 1}, {9, 1}, {10, 1}, {32, 33}},
        {{27, 24}, {24, 15}, {8, 1}, {12, 1}, {13, 1}, {32, 32}},
        {{27, 22}, {26, 15}, {25, 4}, {8, 1}, {32, 32}},
        {{32, 80}},
    };
    // The gestures each scene's legend offers: scene 1 points, 2 adds the U-shape, 3 the
    // proposition, 4 the Z-shape instead; 0 and 5 offer nothing.
    const std::vector<int> legends[MainPart::sceneCount] = {
        {}, {0, 1, 2, 3}, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 6}, {0, 1, 2, 3, 4, 5}, {},
    };
    for (int scene = 0; scene < MainPart::sceneCount; ++scene) {
        int cells = 0;
        for (const auto& [icon, n] : counts[scene]) {
            EXPECT_EQ(countIcon(g[scene], icon), n) << "scene " << scene << " icon " << icon;
            cells += n;
        }
        // The legend runs down column 1 from row 1.
        int row = 1;
        for (int id : legends[scene]) {
            EXPECT_EQ(g[scene][row++][1], 33 + id) << "scene " << scene << " gesture " << id;
            ++cells;
        }
        EXPECT_EQ(cells, 80) << "scene " << scene;

        layOut(scene);
        for (int r = 0; r < MainPart::rows; ++r)
            for (int c = 0; c < MainPart::columns; ++c)
                ASSERT_EQ(part.grid[r][c], g[scene][r][c]) << scene << ": " << r << "," << c;
    }
    // Where people and things stand.
    EXPECT_EQ(g[0][5][6], 0);
    EXPECT_EQ(g[0][2][5], 2);
    EXPECT_EQ(g[0][3][3], 1);
    EXPECT_EQ(g[1][5][5], 8);
    EXPECT_EQ(g[1][2][5], 10);
    EXPECT_EQ(g[1][5][3], 9);
    EXPECT_EQ(g[2][3][7], 8);
    EXPECT_EQ(g[2][2][7], 10);
    EXPECT_EQ(g[2][5][3], 9);
    EXPECT_EQ(g[3][2][3], 8);
    EXPECT_EQ(g[3][3][4], 12);
    EXPECT_EQ(g[3][2][7], 13);
    EXPECT_EQ(g[3][2][5], 27); // the inner wall that hides the stranger
    EXPECT_EQ(g[3][3][5], 27);
    EXPECT_EQ(g[4][5][3], 8);
    for (int r : {2, 4})
        for (int c : {4, 6})
            EXPECT_EQ(g[4][r][c], 25) << r << "," << c;
}

} // namespace
