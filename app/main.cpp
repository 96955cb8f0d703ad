// Start-up of the installer: builds the glyph atlas before any window exists
// and ends with the exit code its outcome calls for.
#include <windows.h>

#include "app/globals.h"
#include "render/glyph_atlas.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AppInstance = instance;
    int outcome = BuildGlyphAtlas();
    if (outcome == ATLAS_GRAPHICS_FAILURE) {
        ReleaseGlyphAtlas();
        return 0;
    }
    if (outcome != ATLAS_BUILT)
        return 1;

    // The wizard is not built yet: the installer only proves its atlas.
    ReleaseGlyphAtlas();
    return 0;
}
