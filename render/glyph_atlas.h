// The glyph atlas: 16 x 16 monochrome cells of the GB2312 symbols and level-1
// characters, inflated from resource 110 at start-up into four page bitmaps,
// each selected into its own memory device context until exit.
#ifndef MORIVANE_GLYPH_ATLAS_H
#define MORIVANE_GLYPH_ATLAS_H

#include <windows.h>

#include "atlas_cells.h"
#include "resources/resource_ids.h"

enum {
    GLYPH_PAGE_COUNT = 4,
    GLYPH_SIZE = 16,
    GLYPH_PAGE_WIDTH = ATLAS_CELLS_ACROSS * GLYPH_SIZE,     // 512
    GLYPH_PAGE_HEIGHT = ATLAS_PAGE_CELL_ROWS * GLYPH_SIZE,  // 944
    GLYPH_PAGE_BYTES = GLYPH_PAGE_HEIGHT * (GLYPH_PAGE_WIDTH / 8)  // 60,416
};

// The atlas data may be as long as ATLAS_BUFFER_SIZE: all four pages (and
// the blank paper after the shipped data).
static_assert(GLYPH_PAGE_BYTES == 60416, "a page is 944 rows of 64 bytes");
static_assert(GLYPH_PAGE_COUNT * GLYPH_PAGE_BYTES <= ATLAS_BUFFER_SIZE,
              "the four pages fit the inflate buffer");

// Outcomes of BuildGlyphAtlas.
enum {
    ATLAS_BUILT = 0,
    ATLAS_OUT_OF_MEMORY = 1,
    ATLAS_RESOURCE_UNUSABLE = 2,
    ATLAS_GRAPHICS_FAILURE = 3
};

struct GlyphAtlasPage {
    HBITMAP bitmap;
    HDC dc;            // memory device context with `bitmap` selected
    HGDIOBJ previous;  // what `dc` held before; put back at release
};

// The four page slots; empty (null) until built.
extern GlyphAtlasPage GlyphAtlas[GLYPH_PAGE_COUNT];

struct GlyphCell {
    int x;     // left edge within the page, multiple of 16
    int y;     // top edge within the page, multiple of 16
    int page;  // 0 to 3
};

// Makes page k's bitmap and device context from bits[GLYPH_PAGE_BYTES].
// Returns 0 as soon as a handle cannot be made; what was made stays in the
// slot.
int CreateGlyphPage(int k, const unsigned char *bits);

// Makes the pages from buffer[ATLAS_BUFFER_SIZE] (malloc'd) holding `length`
// bytes of atlas data, then frees the buffer. Returns an ATLAS_ outcome.
// Shared by the two ways of building the atlas (from resource 110 and from
// an installed file).
int FinishGlyphAtlas(unsigned char *buffer, unsigned long length);

// Builds the atlas from an installed atlas file (the uncompressed data of
// resource 110), as the installed product does. Returns an ATLAS_ outcome.
int BuildGlyphAtlasFromFile(const char *path);

// Empties every slot; safe on empty or partly filled slots.
void ReleaseGlyphAtlas(void);

// The cell of a double-byte code (lead * 256 + trail). Pure.
GlyphCell LookupGlyph(unsigned short code);

#endif
