// The layout of the game's three bitmap sheets, in one place: the game cuts its icons and glyphs
// by these numbers, the asset tool paints the sheets by them, and the desktop icons are cut from
// the boy's cell by them. Plain numbers only, so that the asset tool can use them without
// linking anything of the game.
#pragma once

// textures/icons.bmp: 8 x 8 cells of 64 x 64 px, icon 8r + c in column c of row r.
constexpr int iconCellSize = 64;
constexpr int iconsPerRow = 8;
constexpr int iconCount = iconsPerRow * iconsPerRow;
constexpr int iconSheetSide = iconCellSize * iconsPerRow; // 512

// textures/font.bmp and textures/smallfont.bmp: 16 x 16 cells, one glyph entry each. A glyph is
// drawn as 8 x 8 pixels; the big font doubles each pixel into a 16-px cell.
constexpr int glyphsPerRow = 16;
constexpr int glyphPixels = 8;
constexpr int bigGlyphSize = 2 * glyphPixels;                     // 16: also the big font's advance
constexpr int smallGlyphSize = glyphPixels;                       // 8
constexpr int bigFontSheetSide = bigGlyphSize * glyphsPerRow;     // 256
constexpr int smallFontSheetSide = smallGlyphSize * glyphsPerRow; // 128
// Each sheet holds two sets of the printable codes 32 to 126: entry c - 32 + 128 s is code c of
// set s (set 1 is the bold or shadowed one).
constexpr int firstGlyphCode = 32;
constexpr int lastGlyphCode = 126;
constexpr int glyphsPerSet = 128;
