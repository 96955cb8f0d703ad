// Building the glyph atlas from the installer's resource 110 (see
// glyph_atlas.h). Its own file, so that the installed programs, which read
// the atlas from a file, do not carry the inflater.
#include "render/glyph_atlas.h"

#include <stdlib.h>
#include <zlib.h>

#include "install/resource_extract.h"
#include "resources/resource_ids.h"

int BuildGlyphAtlas(void)
{
    // A missing resource gives empty data, which fails to inflate below.
    const unsigned char *bytes;
    DWORD size;
    FindTextResource(IDR_GLYPH_ATLAS, &bytes, &size);

    unsigned char *buffer = static_cast<unsigned char *>(malloc(ATLAS_BUFFER_SIZE));
    if (buffer == NULL)
        return ATLAS_OUT_OF_MEMORY;
    unsigned long length = ATLAS_BUFFER_SIZE;
    if (UncompressResource(buffer, &length, bytes, size) != Z_OK) {
        free(buffer);
        return ATLAS_RESOURCE_UNUSABLE;
    }
    return FinishGlyphAtlas(buffer, length);
}
