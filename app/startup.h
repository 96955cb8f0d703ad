// Start-up of the installer: the glyph atlas, the modeless wizard and the
// main message loop with its own routing of the Enter key.
#ifndef MORIVANE_STARTUP_H
#define MORIVANE_STARTUP_H

#include <windows.h>

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
