// Stroke sampling, direction coding and the warping-distance match against the gesture templates.
#include "gesture/GestureRecognizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gesture/GestureTemplates.h"

namespace {
// A sample needs more than 20 pixels of movement (squared here), so that every code comes from
// a displacement long enough to have a clear direction.
const int minSampleDistanceSquared = 400;
// A frame adds at most one sample, so a minute of drawing at 30 frames a second is 1800 of
// them; no player holds a stroke that long. Room for that many is made once, so drawing never
// allocates; a longer stroke still keeps every sample, it merely allocates then.
const size_t reservedSamples = 60 * 30;
// A full turn in radians. The wrap of a negative angle adds it in double precision and the bin
// divides by it in single precision: that mix sets where the codes' edges fall, and the
// templates and the acceptance limit are tuned to those edges.
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
    sectorWidth = static_cast<float>(fullTurn / directionCodes);
    // Bin i maps to the code its share of the turn falls in, computed in integers so that the
    // bins on a sector's edge fall exactly to the higher code (stepping a float angle lands on
    // either side of them).
    directionTable.assign(directionBins, 0.0f);
    for (int i = 0; i < directionBins; ++i)
        directionTable[i] = static_cast<float>(directionCodes * i / directionBins);
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
    int bin = static_cast<int>(theta / static_cast<float>(fullTurn) * directionBins);
    // Rounding just below a full turn must not step past the table.
    return bin < directionBins ? bin : directionBins - 1;
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
        return noGesture;
    size_t longestTemplate = 0;
    for (const std::vector<float>& t : templates)
        longestTemplate = std::max(longestTemplate, t.size());
    loadStroke(strokeCodes, longestTemplate);

    unsigned best = 1000000;
    int bestIndex = -1;
    for (size_t k = 0; k < templates.size(); ++k) {
        unsigned d = templates[k].empty() ? unreachable : warpingDistance(templates[k]);
        // Strictly below: on a tie the earlier template wins.
        if (d < 31 && d < best) {
            best = d;
            bestIndex = static_cast<int>(k);
        }
    }
    if (bestIndex < 0 || best > acceptLimit)
        return noGesture;
    return templateIds[bestIndex];
}

unsigned GestureRecognizer::templateDistance(const std::vector<float>& templateCodes,
                                             const std::vector<float>& stroke) {
    if (stroke.empty())
        return 0;
    // An empty template has no second-to-last row to end on; it matches nothing.
    if (templateCodes.empty())
        return unreachable;
    loadStroke(stroke, templateCodes.size());
    return warpingDistance(templateCodes);
}

void GestureRecognizer::loadStroke(const std::vector<float>& stroke, size_t longestTemplate) {
    strokeLength = stroke.size();
    strokeDirections.resize(strokeLength);
    for (size_t j = 0; j < strokeLength; ++j)
        strokeDirections[j] = static_cast<int>(stroke[j]);
    // Every template row of code c has the same costs, so each code's row is worked out once.
    directionCosts.resize(directionCodes * strokeLength);
    for (int code = 0; code < directionCodes; ++code)
        fillCosts(&directionCosts[code * strokeLength], code);
    // These only grow, so shorter strokes and templates reuse their storage.
    sumRow.resize(std::max(sumRow.size(), strokeLength + 1));
    const size_t rows = std::max(costMatrix.shape()[0], longestTemplate + 1);
    const size_t columns = std::max(costMatrix.shape()[1], strokeLength + 1);
    if (rows != costMatrix.shape()[0] || columns != costMatrix.shape()[1])
        costMatrix.resize(boost::extents[rows][columns]);
}

void GestureRecognizer::fillCosts(int* costs, int templateCode) const {
    // The stroke's last code never takes part.
    for (size_t j = 1; j < strokeLength; ++j)
        costs[j] = directionDistance(templateCode, strokeDirections[j - 1]);
}

int* GestureRecognizer::costRow(size_t i) {
    return costMatrix.data() + i * costMatrix.strides()[0];
}

unsigned GestureRecognizer::warpingDistance(const std::vector<float>& templateCodes) {
    const size_t rows = templateCodes.size();
    std::fill(costRow(0), costRow(0) + strokeLength + 1, 0);
    for (size_t i = 1; i <= rows; ++i) {
        int* const costs = costRow(i);
        const int code = static_cast<int>(templateCodes[i - 1]);
        costs[0] = 0;
        if (code >= 0 && code < directionCodes)
            std::copy_n(&directionCosts[code * strokeLength] + 1, strokeLength - 1, costs + 1);
        else
            fillCosts(costs, code);
    }

    // Row 0 of the sums: the corner, then the unreachable border.
    unsigned* const sums = sumRow.data();
    sums[0] = 0;
    std::fill(sums + 1, sums + strokeLength + 1, unreachable);
    // The stroke's last code stays out (a flick at the release must not spoil the match), and
    // the result is read one row short of the template's end: the last row's sums never count.
    // The templates and the acceptance limit are tuned to exactly this.
    size_t i = 1;
    for (; i + 1 < rows; i += 2)
        addTwoRowsOfSums(costRow(i), costRow(i + 1));
    if (i < rows)
        addRowOfSums(costRow(i));
    return sums[strokeLength - 1];
}

void GestureRecognizer::addRowOfSums(const int* costs) {
    // sumRow holds the row above; a cell adds its cost to the cheapest of its diagonal, upper
    // and left neighbours.
    unsigned* const sums = sumRow.data();
    unsigned diagonal = sums[0];
    unsigned left = unreachable;
    sums[0] = unreachable;
    for (size_t j = 1; j < strokeLength; ++j) {
        const unsigned up = sums[j];
        left = static_cast<unsigned>(costs[j]) + std::min(std::min(diagonal, up), left);
        sums[j] = left;
        diagonal = up;
    }
}

void GestureRecognizer::addTwoRowsOfSums(const int* firstCosts, const int* secondCosts) {
    // As addRowOfSums, for two rows in one sweep: each row's cells wait on their left
    // neighbour, but the two rows' chains are apart, so the processor works on both at once.
    unsigned* const sums = sumRow.data();
    unsigned diagonal = sums[0];
    unsigned first = unreachable;
    unsigned second = unreachable;
    sums[0] = unreachable;
    for (size_t j = 1; j < strokeLength; ++j) {
        const unsigned up = sums[j];
        const unsigned firstLeft = first;
        first = static_cast<unsigned>(firstCosts[j]) + std::min(std::min(diagonal, up), first);
        second =
            static_cast<unsigned>(secondCosts[j]) + std::min(std::min(firstLeft, first), second);
        sums[j] = second;
        diagonal = up;
    }
}

int GestureRecognizer::directionDistance(int a, int b) {
    const int d = std::abs(a - b);
    return d <= directionCodes / 2 ? d : directionCodes - d;
}
