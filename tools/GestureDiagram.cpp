// Turns a gesture template into the stroke a player draws and that stroke into an SVG picture.
#include "tools/GestureDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// A step long enough for the recognizer to take a sample (it needs more than 20 px) in every
// direction, diagonals included.
const double stepLength = 30;
// Where the press happens; the middle of the game's window leaves room in every direction.
const StrokePoint pressPoint = {320, 240};
const double margin = 24;
const double arrowLength = 14;
const double arrowHalfWidth = 8;

// A step straight back along the one before would hide that one in the picture. The two are
// turned apart by this much each, which keeps both well inside their codes' 45-degree sectors,
// so that the turn shows as a sharp V.
const double turnBackBend = 18;
// From a turn back on, the steps are this much longer, so that the way back swings clear of the
// part drawn before it instead of running over it.
const double returnStretch = 2;
// The start mark's side: a square like the one on the game's own legend icons.
const double startSide = 14;

// The screen displacement of direction code c, turned by bend degrees: 0 right, then clockwise
// (y grows downwards).
StrokePoint stepFor(int code, double bend, double length) {
    const double degree = std::atan(1.0) / 45;
    const double angle = (code * 45 + bend) * degree;
    return {static_cast<float>(std::lround(length * std::cos(angle))),
            static_cast<float>(std::lround(length * std::sin(angle)))};
}

// How far code b turns from code a, in eighths of a turn, clockwise positive: -4 to 3.
int turnBetween(char a, char b) {
    return (b - a + 12) % 8 - 4;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string point(double x, double y) {
    return number(x) + "," + number(y);
}
} // namespace

GestureDiagram::GestureDiagram(const GestureTemplate& gesture, const std::string& title)
    : gesture(gesture), title(title) {
    const std::string codes = gesture.codes;
    std::vector<double> bends(codes.size(), 0.0), lengths(codes.size(), stepLength);
    int curl = 0; // the turns so far; below 0 the stroke curls anticlockwise
    for (size_t i = 1; i < codes.size(); ++i) {
        const int turn = turnBetween(codes[i - 1], codes[i]);
        if (turn != -4) {
            curl += turn;
            continue;
        }
        // The way back keeps curling the way the stroke went; the step before leans the other way.
        const double side = curl < 0 ? -1 : 1;
        bends[i - 1] -= side * turnBackBend;
        bends[i] += side * turnBackBend;
        for (size_t j = i; j < codes.size(); ++j)
            lengths[j] *= returnStretch;
    }
    stroke.push_back(pressPoint);
    for (size_t i = 0; i < codes.size(); ++i) {
        const StrokePoint step = stepFor(codes[i] - '0', bends[i], lengths[i]);
        stroke.push_back({stroke.back().x + step.x, stroke.back().y + step.y});
    }
}

bool GestureDiagram::recognised(std::string& problem) const {
    GestureRecognizer recognizer;
    for (const GestureTemplate& known : gestureTemplates)
        recognizer.addTemplate(known.codes, known.id);
    recognizer.beginStroke(static_cast<int>(stroke[0].x), static_cast<int>(stroke[0].y));
    for (size_t i = 1; i < stroke.size(); ++i)
        recognizer.addPoint(static_cast<int>(stroke[i].x), static_cast<int>(stroke[i].y));
    std::string coded;
    for (float code : recognizer.strokeCodes)
        coded += static_cast<char>('0' + static_cast<int>(code));
    const int id = recognizer.classify();
    if (coded != gesture.codes)
        problem = "the stroke codes as " + coded + ", not as its template " + gesture.codes;
    else if (id != gesture.id)
        problem = "the stroke is recognised as gesture " + std::to_string(id) + ", not " +
                  std::to_string(gesture.id);
    return problem.empty();
}

std::string GestureDiagram::svg() const {
    float left = stroke[0].x, right = left, top = stroke[0].y, bottom = top;
    for (const StrokePoint& p : stroke) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    const double width = right - left + 2 * margin, height = bottom - top + 2 * margin;
    auto x = [&](double px) { return px - left + margin; };
    auto y = [&](double py) { return py - top + margin; };

    // The arrowhead's tip is the last sample; the line stops inside the head so that its round
    // end does not poke out past the tip.
    const StrokePoint& end = stroke.back();
    const StrokePoint& before = stroke[stroke.size() - 2];
    const double length = std::hypot(end.x - before.x, end.y - before.y);
    const double ux = (end.x - before.x) / length, uy = (end.y - before.y) / length;
    const double baseX = end.x - arrowLength * ux, baseY = end.y - arrowLength * uy;

    std::string line;
    for (size_t i = 0; i + 1 < stroke.size(); ++i)
        line += point(x(stroke[i].x), y(stroke[i].y)) + " ";
    line += point(x(baseX + 2 * ux), y(baseY + 2 * uy));
    std::string samples;
    for (size_t i = 1; i + 1 < stroke.size(); ++i)
        samples += "  <circle cx=\"" + number(x(stroke[i].x)) + "\" cy=\"" +
                   number(y(stroke[i].y)) + "\" r=\"3\" fill=\"#4a78cc\"/>\n";

    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(width) + "\" height=\"" +
           number(height) + "\" viewBox=\"0 0 " + number(width) + " " + number(height) + "\">\n" +
           "  <title>" + title +
           ": press at the green square, drag through the blue samples, release at the arrow"
           "</title>\n" +
           "  <rect width=\"100%\" height=\"100%\" rx=\"8\" fill=\"#f4f4f0\"/>\n" +
           "  <polyline points=\"" + line +
           "\" fill=\"none\" stroke=\"#1a2040\" stroke-width=\"4\" stroke-linecap=\"round\" "
           "stroke-linejoin=\"round\"/>\n" +
           samples + "  <rect x=\"" + number(x(stroke[0].x) - startSide / 2) + "\" y=\"" +
           number(y(stroke[0].y) - startSide / 2) + "\" width=\"" + number(startSide) +
           "\" height=\"" + number(startSide) + "\" fill=\"#58a848\"/>\n" + "  <polygon points=\"" +
           point(x(end.x), y(end.y)) + " " +
           point(x(baseX - arrowHalfWidth * uy), y(baseY + arrowHalfWidth * ux)) + " " +
           point(x(baseX + arrowHalfWidth * uy), y(baseY - arrowHalfWidth * ux)) +
           "\" fill=\"#1a2040\"/>\n</svg>\n";
}
