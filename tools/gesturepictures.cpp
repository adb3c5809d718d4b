// gesturepictures: draws every gesture of the game as the stroke the recognizer accepts, for the
// README. Usage: gesturepictures OUT_DIR   (writes OUT_DIR/NAME.svg for each gesture; fails,
// naming the gesture, if the recognizer does not accept the stroke drawn for it)
#include <iostream>

#include "tools/GestureDiagram.h"
#include "tools/ToolSupport.h"

namespace {
// File names and titles, in gesture id order.
const struct {
    const char* file;
    const char* title;
} pictures[gestureCount] = {
    {"point-up", "Point up"},           {"point-down", "Point down"}, {"point-left", "Point left"},
    {"point-right", "Point right"},     {"u-shape", "The U-shape"},   {"z-shape", "The Z-shape"},
    {"proposition", "The proposition"},
};
} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cout << "usage: gesturepictures OUT_DIR" << std::endl;
        return 2;
    }
    bool ok = true;
    for (const GestureTemplate& gesture : gestureTemplates) {
        const GestureDiagram diagram(gesture, pictures[gesture.id].title);
        const std::string path = std::string(argv[1]) + "/" + pictures[gesture.id].file + ".svg";
        std::string problem;
        if (!diagram.recognised(problem))
            ok = ToolSupport::fail(pictures[gesture.id].file, problem);
        else if (!ToolSupport::writeFile(path, diagram.svg()))
            ok = false;
    }
    return ok ? 0 : 1;
}
