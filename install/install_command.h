// The Agree/Install command: takes the folder and the choices from the
// wizard, makes sure the folder exists, runs the installation for at least
// the minimum time, reports the outcome and offers the speech runtime.
#ifndef MORIVANE_INSTALL_COMMAND_H
#define MORIVANE_INSTALL_COMMAND_H

#include <windows.h>

enum { MINIMUM_RUN_SECONDS = 5 };

// Whether a typed folder is used as it is: "X:\..." or "X:/...", a drive
// root "X:" as the folder chooser gives it, or a network path. Pure.
int IsAbsoluteInstallPath(const char *path);

// Installs from the wizard's choices and ends the wizard (STEP_FINISHED),
// unless the folder cannot be made: then the wizard stays where it is.
void InstallCommand(HWND mainDialog);

#endif
