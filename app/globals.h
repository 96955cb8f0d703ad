// The installer's shared state. It runs on one GUI thread, so these are plain
// globals; each is written by the subsystem named beside it.
#ifndef MORIVANE_GLOBALS_H
#define MORIVANE_GLOBALS_H

#include <windows.h>

// The installer's module; every resource is looked up in it (start-up).
extern HINSTANCE AppInstance;

// The main wizard dialog, owner of most message dialogs; null until created
// (start-up).
extern HWND MainDialog;

// The product icon of IDI_PRODUCT, loaded before the wizard (start-up).
extern HICON ProductIcon;

// 1 on the NT platform, 1 when the major Windows version is 3 (start-up).
extern int IsWindowsNt;
extern int IsVersion3;

// 0 English, 1 Simplified Chinese, 2 Traditional Chinese: chooses shortcut
// and folder names (start-up).
extern int DisplayLanguage;

// The product's interface language chosen in the wizard: 0 English,
// 1 Chinese (Simplified), 2 Chinese (Traditional) (installation run).
extern int UiLanguage;

// 1 when the user asked for a desktop icon, and for starting with Windows
// (installation run).
extern int DesktopIconOption;
extern int AutoStartOption;

// The install folder, without a trailing backslash (wizard, installation run).
extern char InstallDir[MAX_PATH];

// The wizard's page: 0 path and options, 1 language, 2 licence, 99 licence
// accepted, -1 finished; 3 to 98 show the path page (wizard).
extern int WizardStep;

#endif
