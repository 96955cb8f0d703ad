// GBK text measuring and drawing over the glyph atlas (see gbk_text.h).
#include "render/gbk_text.h"

#include <string.h>

#include "render/glyph_atlas.h"

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

void DrawGbkText(HDC dc, int x, int y, const char *text)
{
    size_t length = strlen(text);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    int pen = x;
    for (size_t i = 0; i < length;) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0x80) {
            // A lead byte at the end pairs with the terminating NUL.
            unsigned char trail = static_cast<unsigned char>(text[i + 1]);
            GlyphCell cell = LookupGlyph(static_cast<unsigned short>(lead << 8 | trail));
            BitBlt(dc, pen, y, GLYPH_SIZE, GLYPH_SIZE, GlyphAtlas[cell.page].dc,
                   cell.x, cell.y, SRCAND);
            pen += GLYPH_SIZE;
            i += 2;
        } else {
            int width = SingleByteWidth(dc, text + i);
            TextOutA(dc, pen, y + 1, text + i, 1);
            pen += width;
            i += 1;
        }
    }
    SetBkMode(dc, previousMode);
}
