// Building the glyph atlas from resource 110 (see glyph_atlas_resource.h).
#include "render/glyph_atlas_resource.h"

#include <stdlib.h>
#include <zlib.h>

#include "base/globals.h"
#include "base/text_resource.h"
#include "render/glyph_atlas.h"
#include "resources/resource_ids.h"

int BuildGlyphAtlas(void)
{
    unsigned char *buffer = static_cast<unsigned char *>(malloc(ATLAS_BUFFER_SIZE));
    if (buffer == NULL)
        return ATLAS_OUT_OF_MEMORY;
    // A missing resource gives empty data, which fails to inflate.
    unsigned long length = ATLAS_BUFFER_SIZE;
    if (InflateTextResource(AppInstance, IDR_GLYPH_ATLAS, buffer, &length) != Z_OK) {
        free(buffer);
        return ATLAS_RESOURCE_UNUSABLE;
    }
    return FinishGlyphAtlas(buffer, length);
}
