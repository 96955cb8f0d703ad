// The installation run started by Next on the licence page.
#ifndef MORIVANE_INSTALL_RUN_H
#define MORIVANE_INSTALL_RUN_H

#include <windows.h>

// Installs from the wizard's choices and ends the wizard.
void InstallCommand(HWND mainDialog);

#endif
