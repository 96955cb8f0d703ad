// The installation run started by Agree/Install: the folder, the 25 payload
// files with their attributes, the interface language, the shortcuts, the
// outcome and the offer of the speech runtime.
#ifndef MORIVANE_INSTALL_RUN_H
#define MORIVANE_INSTALL_RUN_H

#include <windows.h>

// One payload file: resource, installed name, attributes, and the progress
// position set after it is written (0: none).
struct PayloadEntry {
    WORD id;
    const char *fileName;
    int readOnly;
    int hidden;
    int progressAfter;
};

enum { PAYLOAD_ROWS = 25, MINIMUM_RUN_SECONDS = 5 };

extern const PayloadEntry PayloadTable[PAYLOAD_ROWS];

// Names by DisplayLanguage, stored in that language's code page.
const char *ProductDisplayName(int displayLanguage);
const char *UninstallerDisplayName(int displayLanguage);

// Whether a typed folder is used as it is: "X:\..." or "X:/...", a drive
// root "X:" as the folder chooser gives it, or a network path. Pure.
int IsAbsoluteInstallPath(const char *path);

// Installs from the wizard's choices and ends the wizard (WizardStep -1),
// unless the folder cannot be made: then the wizard stays where it is.
void InstallCommand(HWND mainDialog);

// Writes the payload, the settings and the shortcuts. 1 on success, else 0.
int RunInstall(void);

#endif
