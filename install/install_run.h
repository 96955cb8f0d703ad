// The installation run proper: the 25 payload files with their attributes
// and progress, the interface language in the settings file, the shortcuts.
#ifndef MORIVANE_INSTALL_RUN_H
#define MORIVANE_INSTALL_RUN_H

// Writes the payload, the settings and the shortcuts into InstallDir,
// showing progress on MainDialog's bar. 1 on success, else 0.
int RunInstall(void);

#endif
