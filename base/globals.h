// The installer's shared state and the numbers it is read with. It runs on
// one GUI thread, so these are plain globals; each is written by the
// subsystem named beside it.
#ifndef MORIVANE_GLOBALS_H
#define MORIVANE_GLOBALS_H

#include <windows.h>

// Values of WizardStep. Steps 3 to 98 are reached only by Back from
// STEP_ACCEPTED and show the path page.
enum {
    STEP_FINISHED = -1,  // the main loop ends
    STEP_PATH = 0,       // install folder and options
    STEP_LANGUAGE = 1,   // the product's interface language
    STEP_LICENCE = 2,    // the licence, Chinese or English
    STEP_ACCEPTED = 99   // installing, or waiting for a retry of the folder
};

// Values of DisplayLanguage and UiLanguage. German has a name in the
// language list but is never offered.
enum {
    LANGUAGE_ENGLISH = 0,
    LANGUAGE_SIMPLIFIED = 1,
    LANGUAGE_TRADITIONAL = 2,
    LANGUAGE_GERMAN = 3
};

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

// A LANGUAGE_ value: chooses shortcut and folder names (start-up).
extern int DisplayLanguage;

// The product's interface language chosen in the wizard, a LANGUAGE_ value
// (installation run).
extern int UiLanguage;

// 1 when the user asked for a desktop icon, and for starting with Windows
// (installation run).
extern int DesktopIconOption;
extern int AutoStartOption;

// The install folder, without a trailing backslash (wizard, installation run).
extern char InstallDir[MAX_PATH];

// The wizard's page, a STEP_ value (wizard).
extern int WizardStep;

#endif
