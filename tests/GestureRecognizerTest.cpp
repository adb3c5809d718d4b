// Gesture recognition: direction codes of mouse displacements, stroke sampling and template
// matching.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gesture/GestureRecognizer.h"
#include "gesture/GestureTemplates.h"

namespace {

int codeOf(GestureRecognizer& recognizer, int dx, int dy) {
    recognizer.strokeCodes.clear();
    recognizer.addDirection(dx, dy);
    return static_cast<int>(recognizer.strokeCodes.back());
}

// The same direction code worked out in double precision with exact constants.
int exactCode(int dx, int dy) {
    const double twoPi = 2.0 * M_PI;
    double theta = std::atan2(static_cast<double>(dy), static_cast<double>(dx)) + M_PI / 8.0;
    if (theta < 0)
        theta += twoPi;
    const int bin = static_cast<int>(100.0 * theta / twoPi);
    return 8 * bin / 100;
}

std::vector<float> codes(const std::string& digits) {
    std::vector<float> result;
    for (char c : digits)
        result.push_back(static_cast<float>(c - '0'));
    return result;
}

void addAllTemplates(GestureRecognizer& recognizer) {
    for (const GestureTemplate& t : gestureTemplates)
        recognizer.addTemplate(t.codes, t.id);
}

} // namespace

TEST(GestureDirection, TableHasOneHundredBinsWithEdgesFallingToTheHigherCode) {
    GestureRecognizer recognizer;
    recognizer.reset();
    recognizer.reset();
    ASSERT_EQ(recognizer.directionTable.size(), 100u);
    EXPECT_FLOAT_EQ(recognizer.sectorWidth, 0.7853982f);
    const int firstBin[9] = {0, 13, 25, 38, 50, 63, 75, 88, 100};
    for (int code = 0; code < 8; ++code)
        for (int bin = firstBin[code]; bin < firstBin[code + 1]; ++bin)
            EXPECT_EQ(recognizer.directionTable[bin], static_cast<float>(code)) << "bin " << bin;
}

TEST(GestureDirection, SectorEdgesAndAxes) {
    GestureRecognizer recognizer;
    EXPECT_EQ(codeOf(recognizer, 100, 42), 0);  // 22.8 degrees clockwise: still right
    EXPECT_EQ(codeOf(recognizer, 100, 47), 1);  // 25.2 degrees: down and right
    EXPECT_EQ(codeOf(recognizer, 100, -41), 0); // -22.3 degrees: still right
    EXPECT_EQ(codeOf(recognizer, 100, -42), 7); // -22.8 degrees: up and right
    EXPECT_EQ(codeOf(recognizer, 0, -30), 6);   // straight up
    EXPECT_EQ(codeOf(recognizer, 30, 0), 0);    // straight right
    EXPECT_EQ(codeOf(recognizer, -30, 30), 3);  // down and left: codes run clockwise on screen
}

TEST(GestureDirection, EveryDisplacementInTheWindowMatchesTheExactAngle) {
    GestureRecognizer recognizer;
    int mismatches = 0;
    for (int dx = -639; dx <= 639; ++dx) {
        for (int dy = -479; dy <= 479; ++dy) {
            if (dx == 0 && dy == 0)
                continue;
            const int code = codeOf(recognizer, dx, dy);
            if (code != exactCode(dx, dy) && ++mismatches <= 5)
                ADD_FAILURE() << "dx " << dx << " dy " << dy << " gives " << code;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(GestureStroke, SamplesOnlyBeyondTwentyPixelsFromTheLastSample) {
    GestureRecognizer recognizer;
    recognizer.beginStroke(300, 200);
    recognizer.addPoint(312, 216); // exactly 20 px away
    EXPECT_TRUE(recognizer.strokeCodes.empty());
    EXPECT_TRUE(recognizer.strokePoints.empty());

    recognizer.addPoint(300, 221); // 21 px down; the press point never joins the trail
    ASSERT_EQ(recognizer.strokePoints.size(), 1u);
    EXPECT_EQ(recognizer.strokePoints[0].x, 300.0f);
    EXPECT_EQ(recognizer.strokePoints[0].y, 221.0f);
    ASSERT_EQ(recognizer.strokeCodes.size(), 1u);
    EXPECT_EQ(recognizer.strokeCodes[0], 2.0f);

    // Small moves pile up against the last sample, not the last offered position; a long jump is
    // still one sample.
    recognizer.addPoint(315, 221);
    recognizer.addPoint(320, 221);
    recognizer.addPoint(410, 221);
    ASSERT_EQ(recognizer.strokeCodes.size(), 2u);
    EXPECT_EQ(recognizer.strokeCodes[1], 0.0f);
    EXPECT_EQ(recognizer.lastSampleX, 410.0f);

    // A release clears nothing; the next press does.
    recognizer.classify();
    EXPECT_EQ(recognizer.strokePoints.size(), 2u);
    recognizer.beginStroke(100, 400);
    EXPECT_TRUE(recognizer.strokeCodes.empty());
    EXPECT_TRUE(recognizer.strokePoints.empty());
    for (int y = 375; y >= 0; y -= 25)
        recognizer.addPoint(100, y);
    EXPECT_EQ(recognizer.strokeCodes, std::vector<float>(16, 6.0f));
}

TEST(GestureMatch, DirectionDistanceIsCircular) {
    for (int a = 0; a < 8; ++a) {
        EXPECT_EQ(GestureRecognizer::directionDistance(a, a), 0);
        EXPECT_EQ(GestureRecognizer::directionDistance(a, (a + 1) % 8), 1);
        EXPECT_EQ(GestureRecognizer::directionDistance((a + 1) % 8, a), 1);
        EXPECT_EQ(GestureRecognizer::directionDistance(a, (a + 3) % 8), 3);
        EXPECT_EQ(GestureRecognizer::directionDistance(a, (a + 4) % 8), 4);
        EXPECT_EQ(GestureRecognizer::directionDistance(a, (a + 6) % 8), 2);
    }
}

TEST(GestureMatch, DistancesToTheSevenTemplatesAndTheChosenGesture) {
    struct Case {
        std::string stroke;
        unsigned distance[7];
        int gesture;
    };
    const Case cases[] = {
        {"6", {100000, 100000, 100000, 100000, 100000, 100000, 100000}, -1},
        {"66", {0, 20, 10, 10, 14, 15, 19}, 0},
        {"7777", {5, 15, 15, 5, 16, 15, 16}, 0}, // tie between up and right
        {"2234566", {14, 10, 8, 16, 0, 9, 17}, 4},
        {"223456", {14, 6, 6, 14, 1, 8, 19}, 4},
        {"0033300", {15, 9, 15, 9, 9, 0, 10}, 5},
        {"110776543701", {19, 25, 27, 17, 17, 10, 0}, 6},
        {"0000", {10, 10, 20, 0, 16, 9, 17}, 3},
        {"0004", {10, 10, 20, 0, 16, 9, 17}, 3}, // the final code is left out
        {"6666222", {8, 16, 12, 12, 20, 13, 19}, 0},
    };
    GestureRecognizer recognizer;
    addAllTemplates(recognizer);
    for (const Case& c : cases) {
        recognizer.strokeCodes = codes(c.stroke);
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(recognizer.templateDistance(recognizer.templates[k], recognizer.strokeCodes),
                      c.distance[k])
                << "stroke " << c.stroke << " template " << k;
        EXPECT_EQ(recognizer.classify(), c.gesture) << "stroke " << c.stroke;
        EXPECT_EQ(recognizer.classify(), c.gesture) << "second call, stroke " << c.stroke;
    }
    recognizer.strokeCodes = codes("03300");
    EXPECT_EQ(recognizer.templateDistance(recognizer.templates[5], recognizer.strokeCodes), 0u);
    EXPECT_EQ(recognizer.classify(), 5);
}

TEST(GestureMatch, AcceptanceLimitTiesEmptyStrokesAndMissingTemplates) {
    GestureRecognizer recognizer;
    // No templates: nothing is recognised.
    recognizer.strokeCodes = codes("666666");
    EXPECT_EQ(recognizer.classify(), -1);

    // 13 is accepted, 14 is not.
    recognizer.addTemplate("0033300", 5);
    recognizer.strokeCodes = codes("6666222");
    EXPECT_EQ(recognizer.classify(), 5);
    recognizer.reset();
    EXPECT_TRUE(recognizer.templates.empty());
    EXPECT_TRUE(recognizer.templateIds.empty());
    recognizer.addTemplate("666666", 0);
    recognizer.strokeCodes = codes("2234566");
    EXPECT_EQ(recognizer.classify(), -1);

    // Equal distances go to the template added first, whatever its id.
    recognizer.reset();
    recognizer.addTemplate("000000", 9);
    recognizer.addTemplate("000000", 3);
    recognizer.strokeCodes = codes("0000");
    EXPECT_EQ(recognizer.classify(), 9);

    // A click without samples is no gesture, though it is at distance 0 from every template.
    recognizer.reset();
    addAllTemplates(recognizer);
    recognizer.beginStroke(200, 200);
    recognizer.addPoint(210, 205);
    ASSERT_TRUE(recognizer.strokeCodes.empty());
    EXPECT_EQ(recognizer.templateDistance(recognizer.templates[0], recognizer.strokeCodes), 0u);
    EXPECT_EQ(recognizer.classify(), -1);

    // An empty template is never matched (and must not read outside the table).
    recognizer.reset();
    recognizer.addTemplate("", 7);
    recognizer.strokeCodes = codes("666");
    EXPECT_EQ(recognizer.classify(), -1);
}
