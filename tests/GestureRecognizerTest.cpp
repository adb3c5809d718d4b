// Gesture recognition: direction codes, stroke sampling and template matching.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gesture/GestureRecognizer.h"
#include "gesture/GestureTemplates.h"

static int codeOf(GestureRecognizer& r, int dx, int dy) {
    r.strokeCodes.clear();
    r.addDirection(dx, dy);
    return static_cast<int>(r.strokeCodes.back());
}
// The direction code worked out in double precision with exact constants.
static int exactCode(int dx, int dy) {
    const double theta = std::atan2(double(dy), double(dx)) + M_PI / 8.0;
    return 8 * static_cast<int>(100.0 * (theta < 0 ? theta + 2.0 * M_PI : theta) / (2.0 * M_PI)) /
           100;
}
static std::vector<float> codes(const std::string& digits) {
    std::vector<float> result(digits.begin(), digits.end());
    for (float& c : result)
        c -= '0';
    return result;
}

TEST(GestureDirection, TableEdgesAndEveryDisplacementInTheWindow) {
    GestureRecognizer r;
    r.reset();
    r.reset();
    ASSERT_EQ(r.directionTable.size(), 100u);
    const int firstBin[9] = {0, 13, 25, 38, 50, 63, 75, 88, 100}; // 25, 50, 75 fall upwards
    for (int code = 0; code < 8; ++code)
        for (int bin = firstBin[code]; bin < firstBin[code + 1]; ++bin)
            EXPECT_EQ(r.directionTable[bin], float(code)) << "bin " << bin;
    EXPECT_EQ(codeOf(r, 100, 42), 0); // 22.8 degrees clockwise: still right
    EXPECT_EQ(codeOf(r, 100, 47), 1); // 25.2 degrees: down and right
    EXPECT_EQ(codeOf(r, 0, -30), 6);
    EXPECT_EQ(codeOf(r, 30, 0), 0);
    for (int dx = -639; dx <= 639; ++dx)
        for (int dy = -479; dy <= 479; ++dy)
            ASSERT_EQ(codeOf(r, dx, dy), exactCode(dx, dy)) << "dx " << dx << " dy " << dy;
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b)
            EXPECT_EQ(r.directionDistance(a, b), std::min((a - b + 8) % 8, (b - a + 8) % 8));
}

TEST(GestureStroke, SamplesOnlyBeyondTwentyPixelsFromTheLastSample) {
    GestureRecognizer r;
    r.beginStroke(300, 200);
    r.addPoint(312, 216); // exactly 20 px away
    EXPECT_TRUE(r.strokeCodes.empty() && r.strokePoints.empty());
    r.addPoint(300, 221); // 21 px down; the press point never joins the trail
    EXPECT_TRUE(r.strokePoints.size() == 1 && r.strokePoints[0].y == 221);
    // Measured from the last sample (300, 221), not the press point; a long jump is one sample.
    for (int x : {315, 320, 410})
        r.addPoint(x, 221);
    EXPECT_EQ(r.strokeCodes, codes("20"));
}

TEST(GestureMatch, DistancesToTheSevenTemplatesAndTheChosenGesture) {
    // A stroke, its distances to the seven templates, and the gesture classify chooses.
    const std::pair<std::string, std::vector<int>> cases[] = {
        {"6", {100000, 100000, 100000, 100000, 100000, 100000, 100000, -1}},
        {"66", {0, 20, 10, 10, 14, 15, 19, 0}},
        {"7777", {5, 15, 15, 5, 16, 15, 16, 0}}, // tie between up and right: the earlier wins
        {"2234566", {14, 10, 8, 16, 0, 9, 17, 4}},
        {"223456", {14, 6, 6, 14, 1, 8, 19, 4}},
        {"0033300", {15, 9, 15, 9, 9, 0, 10, 5}},
        {"110776543701", {19, 25, 27, 17, 17, 10, 0, 6}},
        {"0004", {10, 10, 20, 0, 16, 9, 17, 3}}, // the final code is left out
        {"6666222", {8, 16, 12, 12, 20, 13, 19, 0}},
    };
    GestureRecognizer r;
    auto classifyWith = [&](std::vector<GestureTemplate> templates, const char* stroke) {
        r.reset();
        for (const GestureTemplate& t : templates)
            r.addTemplate(t.codes, t.id);
        r.strokeCodes = codes(stroke);
        return r.classify();
    };
    const std::vector<GestureTemplate> all(gestureTemplates, gestureTemplates + 7);
    for (const auto& [stroke, want] : cases) {
        EXPECT_EQ(classifyWith(all, stroke.c_str()), want[7]) << "stroke " << stroke;
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(int(r.templateDistance(r.templates[k], r.strokeCodes)), want[k])
                << "stroke " << stroke << " template " << k;
    }
    // A click without samples is no gesture, though it is at distance 0 from every template.
    r.beginStroke(200, 200);
    r.addPoint(210, 205);
    EXPECT_EQ(r.templateDistance(r.templates[0], r.strokeCodes), 0u);
    EXPECT_EQ(r.classify(), -1);
    EXPECT_EQ(classifyWith({}, "666666"), -1);
    EXPECT_EQ(classifyWith({{5, "0033300"}}, "6666222"), 5); // distance 13 is accepted
    EXPECT_EQ(classifyWith({{0, "666666"}}, "2234566"), -1); // 14 is not
    EXPECT_EQ(classifyWith({{9, "000000"}, {3, "000000"}}, "0000"), 9) << "ties go to the earlier";
}
