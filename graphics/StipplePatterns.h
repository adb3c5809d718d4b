// The 17 ordered-dither polygon-stipple masks used by the fades and the intro.
#pragma once
#include <GL/gl.h>

// Mask k (0 to stippleSteps) covers k sixteenths of the pixels; each mask holds every bit of the
// masks before it, so mask 0 is empty and the last is solid.
constexpr int stippleSteps = 16;
// A mask as glPolygonStipple reads it: 32 rows of 32 bits.
constexpr int stippleMaskBytes = 128;
extern const GLubyte (&stipplePatterns)[stippleSteps + 1][stippleMaskBytes];

// Mask trunc(sixteenths), kept inside the table: what a fill at that many sixteenths uses.
const GLubyte* stippleMask(double sixteenths);
