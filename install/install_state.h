// The installation's own state: the folder and the user's choices that the
// run reads. Written by the Agree/Install command alone, from the values the
// wizard hands it; nothing here is the wizard's.
#ifndef MORIVANE_INSTALL_STATE_H
#define MORIVANE_INSTALL_STATE_H

#include <windows.h>

#include "install/payload_table.h"

// The install folder, as a full name without a trailing backslash but on a
// drive root; the one folder the checks, the entering and the writes use
// (Agree/Install command).
extern char InstallDir[MAX_PATH];

// The product's interface language chosen in the wizard, a LANGUAGE_ value
// (Agree/Install command).
extern int UiLanguage;

// The options the user chose, by OPTION_ value: 1 when asked for, such as
// a desktop icon or starting with Windows (Agree/Install command).
extern int InstallOptions[OPTION_COUNT];

#endif
