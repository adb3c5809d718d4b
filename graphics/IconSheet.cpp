// Stand-in icon sheet: draws nothing until the icon sheet lands.
#include "graphics/IconSheet.h"

IconSheet::IconSheet() {}

void IconSheet::drawIcon(int, int, int) {}
