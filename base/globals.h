// The process's shared state: its module, icon and the system it runs on,
// all set at start-up. It runs on one GUI thread, so these are plain
// globals. The wizard's state lives in app/wizard.h, the installation's in
// install/install_state.h.
#ifndef MORIVANE_GLOBALS_H
#define MORIVANE_GLOBALS_H

#include <windows.h>

// Values of DisplayLanguage and UiLanguage, for the code that names one.
// UiLanguage's are what MorivaneUI.ini stores, so they never change; every
// language, named here or not, is a row of kLanguages (app/languages.h).
enum {
    LANGUAGE_ENGLISH = 0,
    LANGUAGE_SIMPLIFIED = 1,
    LANGUAGE_TRADITIONAL = 2
};

// The installer's module; every resource is looked up in it (start-up).
extern HINSTANCE AppInstance;

// The product icon of IDI_PRODUCT, loaded before the wizard (start-up).
extern HICON ProductIcon;

// 1 on the NT platform, 1 when the major Windows version is 3 (start-up).
extern int IsWindowsNt;
extern int IsVersion3;

// A LANGUAGE_ value: chooses shortcut and folder names (start-up).
extern int DisplayLanguage;

#endif
