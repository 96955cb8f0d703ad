// Storage of the installer's shared state (see globals.h).
#include "app/globals.h"

HINSTANCE AppInstance;
char InstallDir[MAX_PATH];
int WizardStep;
