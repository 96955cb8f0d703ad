// The three-page wizard: one modeless dialog (IDD_MAIN) whose pages are sets
// of controls shown and hidden by WizardStep; Next on the licence page starts
// the installation run.
#ifndef MORIVANE_WIZARD_H
#define MORIVANE_WIZARD_H

#include <stddef.h>
#include <windows.h>

enum { LICENCE_MAX_LINES = 500 };

// 1 once both licence texts are in their controls.
extern int LicenceLoaded;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the controls of `step`, loads the licence texts on first need, sets
// Back and repaints.
void LayoutWizardPage(HWND dialog, int step);

// "<drive>:\Morivane" from the Windows directory, into out[size]. Pure.
void FormatDefaultInstallFolder(char *out, size_t size, const char *windowsDir);

// Cuts `text` in place into lines ended by CR (one LF right after a CR is
// skipped); a last piece without CR is dropped. Stores at most `maxLines`
// line starts and returns their count. Pure.
int SplitLicenceLines(char *text, char **lines, int maxLines);

#endif
