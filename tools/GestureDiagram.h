// Draws a gesture as the stroke the recognizer accepts for it: one sample for each direction code
// of its template, 30 pixels apart (twice that once the stroke has turned back on itself), from
// a green square at the start to an arrowhead at the end.
#pragma once
#include <string>
#include <vector>

#include "gesture/GestureRecognizer.h"
#include "gesture/GestureTemplates.h"

class GestureDiagram {
  public:
    // title: what the picture says it shows, e.g. "point up".
    GestureDiagram(const GestureTemplate& gesture, const std::string& title);
    // Feeds the stroke, point by point as the mouse would, to a recognizer that knows all seven
    // gestures. True when every point became a sample, the samples coded back to the template
    // and the stroke was recognised as this gesture; otherwise says what went wrong.
    bool recognised(std::string& problem) const;
    // The picture, an SVG document at the stroke's size on the game's screen.
    std::string svg() const;

    GestureTemplate gesture;
    std::string title;
    // The press point, then one sample for each code, in window pixels.
    std::vector<StrokePoint> stroke;
};
