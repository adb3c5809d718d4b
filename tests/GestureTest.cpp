// Gesture recognition: direction codes, stroke sampling and the match against the templates.
#include <gtest/gtest.h>

#include <tuple>

#include "gesture/GestureRecognizer.h"
#include "gesture/GestureTemplates.h"

TEST(GestureRecognizer, CodesDirectionsClockwiseAndSamplesEvery20Pixels) {
    GestureRecognizer r;
    r.reset(); // twice, with the constructor's
    const int ends[8] = {13, 25, 38, 50, 63, 75, 88, 100};
    std::vector<float> table;
    for (int code = 0; code < 8; ++code)
        table.resize(ends[code], code);
    EXPECT_EQ(r.directionTable, table) << "100 bins; 25, 50 and 75 fall to the higher code";
    // A code each eighth clockwise on the screen (y down), split at the half-way angles (22.5
    // degrees lies between 100,42 and 100,47); an angle below zero counts a full turn on.
    for (auto [dx, dy] : {std::pair{100, 42}, {100, 47}, {-10, 1}, {-10, -1}, {10, -5}, {10, -4}})
        r.addDirection(dx, dy);
    EXPECT_EQ(r.strokeCodes, std::vector<float>({0, 1, 4, 4, 7, 0}));
    // 20 px is too close; each sample counts from the last one, and the press is no sample.
    r.beginStroke(300, 200);
    for (auto [x, y] : {std::pair{312, 216}, {300, 221}, {315, 221}, {320, 221}, {410, 221}})
        r.addPoint(x, y);
    EXPECT_EQ(r.strokeCodes, std::vector<float>({2, 0}));
    EXPECT_TRUE(r.strokePoints.size() == 2 && r.strokePoints[0].y == 221) << "no press point";
}

TEST(GestureRecognizer, ChoosesTheNearestTemplateWithin13AndTheEarlierOnATie) {
    // A stroke, then what classify makes of it and its distances to the seven templates.
    const std::pair<std::string, std::vector<int>> cases[] = {
        {"", {-1, 0, 0, 0, 0, 0, 0, 0}}, // a click without samples is no gesture
        {"6", {-1, 100000, 100000, 100000, 100000, 100000, 100000, 100000}},
        {"66", {0, 0, 20, 10, 10, 14, 15, 19}},
        {"7777", {0, 5, 15, 15, 5, 16, 15, 16}}, // tie between up and right: the earlier wins
        {"2234566", {4, 14, 10, 8, 16, 0, 9, 17}},
        {"110776543701", {6, 19, 25, 27, 17, 17, 10, 0}},
        {"0004", {3, 10, 10, 20, 0, 16, 9, 17}}, // the final code is left out
        {"6666222", {0, 8, 16, 12, 12, 20, 13, 19}},
    };
    GestureRecognizer r;
    auto classifyWith = [&](std::vector<GestureTemplate> templates, const std::string& stroke) {
        r.reset();
        for (const GestureTemplate& t : templates)
            r.addTemplate(t.codes, t.id);
        r.strokeCodes.assign(stroke.begin(), stroke.end());
        for (float& code : r.strokeCodes)
            code -= '0';
        return r.classify();
    };
    const std::vector<GestureTemplate> all(gestureTemplates, gestureTemplates + gestureCount);
    for (const auto& [stroke, want] : cases) {
        std::vector<int> got = {classifyWith(all, stroke)};
        for (const std::vector<float>& t : r.templates)
            got.push_back(int(r.templateDistance(t, r.strokeCodes)));
        EXPECT_EQ(got, want) << "stroke " << stroke;
    }
    EXPECT_EQ(classifyWith({}, "666666"), -1);
    EXPECT_EQ(classifyWith({{3, "0"}}, "4"), 3) << "one code each is read at the corner, 0";
    EXPECT_EQ(classifyWith({{5, "0033300"}}, "6666222"), 5); // distance 13 is accepted
    EXPECT_EQ(classifyWith({{0, "666666"}}, "2234566"), -1); // 14 is not
    EXPECT_EQ(classifyWith({{9, "000000"}, {3, "000000"}}, "0000"), 9) << "ties go to the earlier";
}
