// The installation run (see install_run.h).
#include "install/install_run.h"

#include "app/globals.h"

// TEMPORARY: ends the wizard without installing, until the installation run
// (payload, settings file, shortcuts) is built.
void InstallCommand(HWND mainDialog)
{
    (void)mainDialog;
    WizardStep = -1;
}
