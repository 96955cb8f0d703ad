// Shared by the sample programs (see program_folder.h).
#include "sample/program_folder.h"

#include <string.h>

#include "base/join_path.h"
#include "render/glyph_atlas.h"

int GetProgramFolder(char *folder)
{
    DWORD length = GetModuleFileNameA(NULL, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    char *slash = strrchr(folder, '\\');
    if (slash == NULL)
        return 0;
    *slash = '\0';
    return 1;
}

int BuildInstalledGlyphAtlas(const char *folder)
{
    char path[MAX_PATH];
    if (!JoinInstallPath(path, sizeof path, folder, "ChnBmp.bin"))
        return ATLAS_RESOURCE_UNUSABLE;
    return BuildGlyphAtlasFromFile(path);
}
