// Stroke sampling, direction coding and the warping-distance match against the gesture templates.
#include "gesture/GestureRecognizer.h"

#include <cmath>
#include <cstdlib>

namespace {
// Samples closer than this (squared pixels) to the last one are ignored.
const int minSampleDistanceSquared = 400;
// A frame adds at most one sample, so a minute of drawing at 30 frames a second is 1800 of
// them; no player holds a stroke that long. Room for that many is made once, so drawing never
// allocates; a longer stroke still keeps every sample, it merely allocates then.
const size_t reservedSamples = 60 * 30;
// A full turn in radians. The wrap of a negative angle adds it in double precision and the bin
// divides by it in single precision; that mix gives the bins the game has always had.
const double fullTurn = 6.283185307179586;
// A template farther than this from the stroke is no match.
const unsigned acceptLimit = 13;
// Border of the warping table: no alignment may start off the corner.
const unsigned unreachable = 100000;
} // namespace

GestureRecognizer::GestureRecognizer() {
    strokeCodes.reserve(reservedSamples);
    strokePoints.reserve(reservedSamples);
    reset();
}

void GestureRecognizer::reset() {
    sectorWidth = 0.7853982f;
    // Bin i of 3.6 degrees maps to code 8i/100, computed in integers so that bins 25, 50 and 75
    // fall exactly to the higher code (stepping a float angle lands on either side of them).
    directionTable.assign(100, 0.0f);
    for (int i = 0; i < 100; ++i)
        directionTable[i] = static_cast<float>(8 * i / 100);
    templates.clear();
    templateIds.clear();
}

void GestureRecognizer::beginStroke(int x, int y) {
    // clear() keeps the room of earlier strokes.
    strokeCodes.clear();
    strokePoints.clear();
    lastSampleX = static_cast<float>(x);
    lastSampleY = static_cast<float>(y);
}

void GestureRecognizer::addPoint(int x, int y) {
    int dx = static_cast<int>(x - lastSampleX);
    int dy = static_cast<int>(y - lastSampleY);
    if (dx * dx + dy * dy <= minSampleDistanceSquared)
        return;
    strokePoints.push_back({static_cast<float>(x), static_cast<float>(y)});
    addDirection(dx, dy);
    lastSampleX = static_cast<float>(x);
    lastSampleY = static_cast<float>(y);
}

int GestureRecognizer::directionBin(int dx, int dy) const {
    // Screen y grows downwards, so the angle (and the code) grows clockwise on screen.
    float theta = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
    theta += sectorWidth / 2;
    if (theta < 0)
        theta = static_cast<float>(theta + fullTurn);
    int bin = static_cast<int>(theta / static_cast<float>(fullTurn) * 100.0f);
    // Rounding just below a full turn must not step past the table.
    return bin > 99 ? 99 : bin;
}

void GestureRecognizer::addDirection(int dx, int dy) {
    strokeCodes.push_back(directionTable[directionBin(dx, dy)]);
}

void GestureRecognizer::addTemplate(const std::string& codes, int id) {
    std::vector<float> templateCodes;
    templateCodes.reserve(codes.size());
    for (char c : codes)
        templateCodes.push_back(static_cast<float>(c - '0'));
    templates.push_back(templateCodes);
    templateIds.push_back(id);
}

int GestureRecognizer::classify() {
    // A click without any sample is no gesture (its distance to every template would be 0).
    if (strokeCodes.empty())
        return -1;
    unsigned best = 1000000;
    int bestIndex = -1;
    for (size_t k = 0; k < templates.size(); ++k) {
        unsigned d = templateDistance(templates[k], strokeCodes);
        // Strictly below: on a tie the earlier template wins.
        if (d < 31 && d < best) {
            best = d;
            bestIndex = static_cast<int>(k);
        }
    }
    if (bestIndex < 0 || best > acceptLimit)
        return -1;
    return templateIds[bestIndex];
}

unsigned GestureRecognizer::templateDistance(const std::vector<float>& templateCodes,
                                             const std::vector<float>& stroke) {
    const size_t rows = templateCodes.size();
    const size_t cols = stroke.size();
    if (cols == 0)
        return 0;
    // An empty template has no second-to-last row to end on; it matches nothing.
    if (rows == 0)
        return unreachable;

    if (costMatrix.shape()[0] != rows + 1 || costMatrix.shape()[1] != cols + 1) {
        costMatrix.resize(boost::extents[rows + 1][cols + 1]);
        sumMatrix.resize(boost::extents[rows + 1][cols + 1]);
    }
    sumMatrix[0][0] = 0;
    costMatrix[0][0] = 0;
    for (size_t j = 1; j <= cols; ++j) {
        sumMatrix[0][j] = unreachable;
        costMatrix[0][j] = 0;
    }
    for (size_t i = 1; i <= rows; ++i) {
        sumMatrix[i][0] = unreachable;
        costMatrix[i][0] = 0;
    }

    // The stroke's last code stays out (a flick at the release must not spoil the match), and
    // the result is read one row short of the template's end. The templates and the limit of 13
    // are tuned to exactly this.
    for (size_t i = 1; i <= rows; ++i) {
        const int t = static_cast<int>(templateCodes[i - 1]);
        for (size_t j = 1; j + 1 <= cols; ++j) {
            const int cost = directionDistance(t, static_cast<int>(stroke[j - 1]));
            costMatrix[i][j] = cost;
            unsigned prev = sumMatrix[i - 1][j - 1];
            if (sumMatrix[i - 1][j] < prev)
                prev = sumMatrix[i - 1][j];
            if (sumMatrix[i][j - 1] < prev)
                prev = sumMatrix[i][j - 1];
            sumMatrix[i][j] = static_cast<unsigned>(cost) + prev;
        }
    }
    return sumMatrix[rows - 1][cols - 1];
}

int GestureRecognizer::directionDistance(int a, int b) {
    const int d = std::abs(a - b);
    return d <= 4 ? d : 8 - d;
}
