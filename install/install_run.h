// The installation run proper: the payload files with their attributes
// and progress, the interface language in the settings file, the shortcuts.
#ifndef MORIVANE_INSTALL_RUN_H
#define MORIVANE_INSTALL_RUN_H

#include <windows.h>

// Progress positions of the run's phases; those between come from the
// payload rows.
enum {
    PROGRESS_STARTED = 10,
    PROGRESS_FILES_WRITTEN = 90,
    PROGRESS_GROUP_MADE = 94,
    // Set although 100 follows at once: every phase of the run ends on a
    // position of its own.
    PROGRESS_SHORTCUTS_MADE = 97,
    PROGRESS_DONE = 100
};

// Writes the payload, the settings and the shortcuts into InstallDir,
// showing progress on owner's IDC_PROGRESS bar and failures in messages
// owned by it. 1 on success, else 0.
int RunInstall(HWND owner);

#endif
