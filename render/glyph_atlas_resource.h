// Building the glyph atlas from the installer's own resource 110. Apart from
// glyph_atlas.h, so that the installed programs, which read the atlas from a
// file, do not carry the inflater.
#ifndef MORIVANE_GLYPH_ATLAS_RESOURCE_H
#define MORIVANE_GLYPH_ATLAS_RESOURCE_H

// Builds the atlas from resource 110 of AppInstance. Returns an ATLAS_ outcome.
int BuildGlyphAtlas(void);

#endif
