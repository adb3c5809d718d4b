// Turns a mouse stroke into direction codes and matches it against the scene's gesture templates.
#pragma once
#include <boost/multi_array.hpp>
#include <string>
#include <vector>

struct StrokePoint {
    float x;
    float y;
};

// Owned by the scene part for the whole run; one stroke at a time.
class GestureRecognizer {
  public:
    // A stroke's direction codes, one for each eighth of a turn.
    static constexpr int directionCodes = 8;
    // The angle bins the direction table turns into codes.
    static constexpr int directionBins = 100;

    GestureRecognizer();

    // Rebuilds the direction table and forgets all templates; called at every scene set-up.
    void reset();
    // Starts a stroke at the press point (which is not part of the trail).
    void beginStroke(int x, int y);
    // Offers the current mouse position once per frame; keeps it when it is over 20 px away.
    void addPoint(int x, int y);
    // Appends the direction code (0 right, clockwise to 7 up-right) of a displacement.
    void addDirection(int dx, int dy);
    // Adds a template written as digits 0 to 7 under a gesture id.
    void addTemplate(const std::string& codes, int id);
    // The gesture id of the current stroke, or noGesture. Changes nothing but the working
    // storage, so it may be asked again.
    int classify();
    // Warping distance between a template and a stroke. Neither this nor classify allocates
    // unless the stroke or the template is longer than any met before.
    unsigned templateDistance(const std::vector<float>& templateCodes,
                              const std::vector<float>& stroke);
    // How far apart two direction codes are, the short way round.
    static int directionDistance(int a, int b);

    // The current stroke, kept after the release until the next one begins: its codes, and
    // its samples, which the scene draws as the trail.
    std::vector<float> strokeCodes;
    std::vector<StrokePoint> strokePoints;
    // The scene's templates, in the order added, and the gesture id of each.
    std::vector<std::vector<float>> templates;
    std::vector<int> templateIds;
    // The cost of each cell of the last comparison, in its top-left (T + 1) x (S + 1) corner;
    // it only grows, to the longest template and stroke met so far.
    boost::multi_array<int, 2> costMatrix;
    // Where the next displacement is measured from: the last sample, or the press point.
    float lastSampleX = 0;
    float lastSampleY = 0;
    // Set by reset: the angle one code covers, and the code of each angle bin.
    float sectorWidth = 0;
    std::vector<float> directionTable;

  private:
    // Angle bin of a displacement, bin 0 starting half a sector before the rightward direction.
    int directionBin(int dx, int dy) const;

    // Takes in the stroke once per comparison or classification: its codes as ints, each
    // direction code's costs against it, and room for templates of up to longestTemplate codes.
    void loadStroke(const std::vector<float>& stroke, size_t longestTemplate);
    // Costs of one template code against each stroke code but the last, from index 1 on.
    void fillCosts(int* costs, int templateCode) const;
    // Row i of costMatrix as a plain pointer, so the inner loops index it directly.
    int* costRow(size_t i);
    // The distance of a non-empty template to the loaded, non-empty stroke.
    unsigned warpingDistance(const std::vector<float>& templateCodes);
    // Turn sumRow from the sums of one row into those of the next, or the one after.
    void addRowOfSums(const int* costs);
    void addTwoRowsOfSums(const int* firstCosts, const int* secondCosts);

    // The loaded stroke, its codes turned into ints once rather than in every cell.
    size_t strokeLength = 0;
    std::vector<int> strokeDirections;
    // The costs of direction code c against the loaded stroke, from c x strokeLength on.
    std::vector<int> directionCosts;
    // One row of running sums of the warping distance; it only grows.
    std::vector<unsigned> sumRow;
};
