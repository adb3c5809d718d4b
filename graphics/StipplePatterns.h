// The 17 ordered-dither polygon-stipple masks used by the fades and the intro.
#pragma once
#include <GL/gl.h>

// Mask k covers k sixteenths of the pixels; each mask holds every bit of the masks before it.
extern const GLubyte (&stipplePatterns)[17][128];

// Mask trunc(sixteenths), kept inside the table: what a fill at that many sixteenths uses.
const GLubyte* stippleMask(double sixteenths);
