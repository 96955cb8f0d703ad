// Measuring and drawing GBK text: single-byte characters with the device
// context's font, double-byte characters as 16 x 16 cells of the glyph atlas.
#ifndef MORIVANE_GBK_TEXT_H
#define MORIVANE_GBK_TEXT_H

#include <windows.h>

// Width of the text in pixels (cx); cy is always 16.
SIZE MeasureGbkText(HDC dc, const char *text);

// Draws the text with its top-left corner at (x, y): glyph tops at y, single-
// byte text at y + 1, both in the context's text colour over whatever is
// there (a glyph's paper and the space around letters are left untouched).
// Leaves font, colours, background mode and brush as found.
void DrawGbkText(HDC dc, int x, int y, const char *text);

#endif
