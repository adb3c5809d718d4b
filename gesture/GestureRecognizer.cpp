// Stand-in recognizer: recognises nothing until gesture matching lands.
#include "gesture/GestureRecognizer.h"

GestureRecognizer::GestureRecognizer() { reset(); }

void GestureRecognizer::reset() {
    templates.clear();
    templateIds.clear();
}

void GestureRecognizer::beginStroke(int x, int y) {
    strokeCodes.clear();
    strokePoints.clear();
    lastSampleX = static_cast<float>(x);
    lastSampleY = static_cast<float>(y);
}

void GestureRecognizer::addPoint(int, int) {}

void GestureRecognizer::addDirection(int, int) {}

void GestureRecognizer::addTemplate(const std::string&, int) {}

int GestureRecognizer::classify() { return -1; }

unsigned GestureRecognizer::templateDistance(const std::vector<float>&,
                                             const std::vector<float>&) {
    return 0;
}

int GestureRecognizer::directionDistance(int a, int b) {
    (void)a;
    (void)b;
    return 0;
}
