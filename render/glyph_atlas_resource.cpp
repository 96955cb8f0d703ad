// Building the glyph atlas from resource 110 (see glyph_atlas_resource.h).
#include "render/glyph_atlas_resource.h"

#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#include "base/globals.h"
#include "base/text_resource.h"
#include "render/glyph_atlas.h"
#include "resources/resource_ids.h"

// The atlas is inflated a page at a time and each page made as it fills:
// a buffer of the whole atlas would add 300 KB to the working set before
// the first window.
struct AtlasInflate {
    unsigned char *page;  // GLYPH_PAGE_BYTES, blank paper before each page
    unsigned long filled;
    int made;             // pages handed to CreateGlyphPage so far
    int outcome;          // an ATLAS_ outcome
};

// After a page that could not be made, the rest are only counted.
static void MakePage(AtlasInflate *atlas)
{
    if (atlas->outcome == ATLAS_BUILT && !CreateGlyphPage(atlas->made, atlas->page))
        atlas->outcome = ATLAS_GRAPHICS_FAILURE;
    ++atlas->made;
    atlas->filled = 0;
    memset(atlas->page, 0xFF, GLYPH_PAGE_BYTES);
}

// Bytes past the fourth page are taken and dropped, as the whole buffer
// took them; the capacity still bounds the stream.
static int TakeAtlasPiece(void *context, const unsigned char *piece, unsigned long length)
{
    AtlasInflate *atlas = static_cast<AtlasInflate *>(context);
    while (length > 0 && atlas->made < GLYPH_PAGE_COUNT) {
        unsigned long room = GLYPH_PAGE_BYTES - atlas->filled;
        unsigned long count = length < room ? length : room;
        memcpy(atlas->page + atlas->filled, piece, count);
        atlas->filled += count;
        piece += count;
        length -= count;
        if (atlas->filled == GLYPH_PAGE_BYTES)
            MakePage(atlas);
    }
    return 1;
}

int BuildGlyphAtlas(void)
{
    AtlasInflate atlas = {static_cast<unsigned char *>(malloc(GLYPH_PAGE_BYTES)), 0, 0,
                          ATLAS_BUILT};
    if (atlas.page == NULL)
        return ATLAS_OUT_OF_MEMORY;
    memset(atlas.page, 0xFF, GLYPH_PAGE_BYTES);
    // A missing resource fails to inflate, as does one longer than the buffer.
    int inflated = InflateTextResourceInPieces(AppInstance, IDR_GLYPH_ATLAS, ATLAS_BUFFER_SIZE,
                                               TakeAtlasPiece, &atlas);
    // The shipped data ends part-way into page 2: the rest is blank paper.
    while (inflated == Z_OK && atlas.made < GLYPH_PAGE_COUNT)
        MakePage(&atlas);
    free(atlas.page);
    if (inflated != Z_OK) {
        // An unusable stream leaves no page behind, whatever was made of it.
        ReleaseGlyphAtlas();
        return ATLAS_RESOURCE_UNUSABLE;
    }
    return atlas.outcome;
}
