// Stand-in font set: draws nothing until the font sheets land.
#include "graphics/FontSet.h"

FontSet::FontSet() {}

void FontSet::drawText(int, int, const char*, int) {}

void FontSet::drawSmallText(int, int, const char*, int) {}

void FontSet::drawWrappedText(int, int, int, const char*) {}
