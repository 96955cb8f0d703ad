// Start-up of the installer: environment detection, the atlas, the modeless
// wizard and the main message loop with its own routing of the Enter key.
#ifndef MORIVANE_STARTUP_H
#define MORIVANE_STARTUP_H

#include <windows.h>

// From here on, DLLs load only from the system folder: a DLL downloaded
// beside the installer (version.dll, uxtheme.dll, ...) is never loaded.
void RestrictDllSearch(void);

// 1 when the default ANSI code page uses more than one byte a character.
int IsDbcsCodePage(void);

// DisplayLanguage for a code-page kind and a system language: 1 or 2 only for
// a Chinese language on a double-byte code page, else 0. Pure.
int DecideDisplayLanguage(int dbcsCodePage, LANGID systemLanguage);

// Sets IsWindowsNt, IsVersion3 and DisplayLanguage from the running system.
void DetectEnvironment(void);

// 1 when Enter on `focus` must press exactly that control: a push button
// (class "button", not a check box or radio button).
int IsEnterTargetButton(HWND focus);

// Handles Enter (WM_KEYDOWN, VK_RETURN) for the main loop: posts the focused
// push button's command, or Next, to MainDialog. Returns 1 when the key
// message must be dropped (it pressed a push button).
int RouteEnterKey(void);

// Runs the installer: returns the process exit code.
int RunInstaller(HINSTANCE instance);

#endif
