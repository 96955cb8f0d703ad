// The installer's shared state. It runs on one GUI thread, so these are plain
// globals; each is written by the subsystem named beside it.
#ifndef MORIVANE_GLOBALS_H
#define MORIVANE_GLOBALS_H

#include <windows.h>

// The installer's module; every resource is looked up in it (start-up).
extern HINSTANCE AppInstance;

// The install folder, without a trailing backslash (wizard, installation run).
extern char InstallDir[MAX_PATH];

// The wizard's page: 0 path and options, 1 language, 2 licence, 99 licence
// accepted, -1 finished; 3 to 98 show the path page (wizard).
extern int WizardStep;

#endif
