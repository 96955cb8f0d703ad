// GBK text measuring and drawing over the glyph atlas (see gbk_text.h).
#include "render/gbk_text.h"

#include <string.h>

#include "render/glyph_atlas.h"

enum {
    // PSDPxax: the brush where the source is black, the destination where it
    // is white. With the atlas's ink as black and its paper as white, a glyph
    // takes the brush's colour on any background; SRCAND could only darken,
    // so a glyph on a dark face vanished.
    ROP_INK_ONLY = 0x00B8074A,
    INK_BLACK = RGB(0, 0, 0),
    PAPER_WHITE = RGB(255, 255, 255)
};

// Width of one single-byte character in the current font; 0 if unmeasurable.
static int SingleByteWidth(HDC dc, const char *character)
{
    SIZE size;
    return GetTextExtentPointA(dc, character, 1, &size) ? size.cx : 0;
}

SIZE MeasureGbkText(HDC dc, const char *text)
{
    size_t length = strlen(text);
    SIZE size = {0, GLYPH_SIZE};
    // Widths are summed byte by byte, exactly as DrawGbkText advances.
    for (size_t i = 0; i < length;) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            size.cx += GLYPH_SIZE;
            i += 2;
        } else {
            size.cx += SingleByteWidth(dc, text + i);
            i += 1;
        }
    }
    return size;
}

// Copies the cell of `code` to (x, y) in the brush selected into `dc`. A
// monochrome source takes the context's text and background colours, so they
// are made black and white for the copy only.
static void DrawGlyph(HDC dc, int x, int y, unsigned short code)
{
    GlyphCell cell = LookupGlyph(code);
    COLORREF text = SetTextColor(dc, INK_BLACK);
    COLORREF background = SetBkColor(dc, PAPER_WHITE);
    BitBlt(dc, x, y, GLYPH_SIZE, GLYPH_SIZE, GlyphAtlas[cell.page].dc, cell.x, cell.y,
           ROP_INK_ONLY);
    SetTextColor(dc, text);
    SetBkColor(dc, background);
}

void DrawGbkText(HDC dc, int x, int y, const char *text)
{
    size_t length = strlen(text);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    // One brush of the text colour serves all the glyphs of the text; it is
    // made at the first one. Should it fail, glyphs are inked black. Whether
    // it was made is kept apart from whether selecting it worked, so that a
    // failed selection does not make a brush per glyph.
    HBRUSH ink = NULL;
    int inkMade = 0;
    HGDIOBJ previousBrush = NULL;
    int pen = x;
    for (size_t i = 0; i < length;) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0x80) {
            if (!inkMade) {
                inkMade = 1;
                ink = CreateSolidBrush(GetTextColor(dc));
                previousBrush = SelectObject(dc, ink != NULL ? (HGDIOBJ)ink
                                                             : GetStockObject(BLACK_BRUSH));
            }
            // A lead byte at the end pairs with the terminating NUL.
            unsigned char trail = static_cast<unsigned char>(text[i + 1]);
            DrawGlyph(dc, pen, y, static_cast<unsigned short>(lead << 8 | trail));
            pen += GLYPH_SIZE;
            i += 2;
        } else {
            int width = SingleByteWidth(dc, text + i);
            TextOutA(dc, pen, y + 1, text + i, 1);
            pen += width;
            i += 1;
        }
    }
    if (previousBrush != NULL)
        SelectObject(dc, previousBrush);
    if (ink != NULL)
        DeleteObject(ink);
    SetBkMode(dc, previousMode);
}
