// Shell shortcuts to the installed program: a Start-menu group, a desktop
// shortcut and a startup shortcut, written through IShellLinkA.
#ifndef MORIVANE_SHORTCUTS_H
#define MORIVANE_SHORTCUTS_H

#include <windows.h>

// One shortcut: its name (also its description) and the file in InstallDir it
// opens. A list ends with an entry whose display name is null.
struct ShortcutEntry {
    const char *displayName;
    const char *targetFileName;
};

// The path of a special folder (CSIDL) through the shell, into path[MAX_PATH].
int GetSpecialFolderPath(char *path, int csidl);

// The same, built from the Windows directory as Windows 3 lays it out.
int GetLegacyFolderPath(char *path, int csidl);

// The special folder as the shortcuts use it: the Windows 3 layout when
// IsVersion3, else the shell's. Into path[MAX_PATH]; 1 or 0.
int GetShortcutFolderPath(char *path, int csidl);

// Writes the entries into `folderName` under the special folder (or into the
// special folder itself when the name is null or empty), making the folder
// when missing. Tells the user about failures in messages owned by `owner`;
// returns 1 or 0.
int CreateShortcutGroup(const char *folderName, const ShortcutEntry *entries, int csidl,
                        HWND owner);

// One shortcut on the desktop; failures are silent.
void CreateDesktopShortcut(const char *targetFileName, const char *displayName);

// Saves one shortcut file. Returns 1 when saved, else 0.
int WriteShellLink(const char *targetPath, const char *linkPath, const char *description);

#endif
