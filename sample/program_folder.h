// What the sample product program and its uninstaller share: the folder they
// were installed into, and the glyph atlas installed there.
#ifndef MORIVANE_PROGRAM_FOLDER_H
#define MORIVANE_PROGRAM_FOLDER_H

#include <windows.h>

// The folder of this program, without a trailing backslash, into
// folder[MAX_PATH]. Returns 1 or 0.
int GetProgramFolder(char *folder);

// Builds the glyph atlas from "ChnBmp.bin" in `folder`.
int BuildInstalledGlyphAtlas(const char *folder);

#endif
