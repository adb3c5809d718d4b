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
    // The gesture id of the current stroke, or -1 for none.
    int classify();
    // Warping distance between a template and a stroke.
    unsigned templateDistance(const std::vector<float>& templateCodes,
                              const std::vector<float>& stroke);
    // Circular difference of two direction codes, 0 to 4.
    static int directionDistance(int a, int b);

    std::vector<float> strokeCodes;
    std::vector<StrokePoint> strokePoints;
    std::vector<std::vector<float>> templates;
    std::vector<int> templateIds;
    boost::multi_array<int, 2> costMatrix;
    float lastSampleX = 0;
    float lastSampleY = 0;
    float sectorWidth = 0;
    std::vector<float> directionTable;

  private:
    // Angle bin 0 to 99 of a displacement, 3.6 degrees each, bin 0 starting at -22.5 degrees.
    int directionBin(int dx, int dy) const;

    // Running sums of the warping distance, the same shape as costMatrix.
    boost::multi_array<unsigned, 2> sumMatrix;
};
