// The three-page wizard: one modeless dialog (IDD_MAIN) whose pages are sets
// of controls shown and hidden by WizardStep; Next on the licence page starts
// the installation run.
#ifndef MORIVANE_WIZARD_H
#define MORIVANE_WIZARD_H

#include <stddef.h>
#include <windows.h>

#include "render/dialog_description.h"
#include "resources/resource_ids.h"  // LICENCE_MAX_LINES

// Values of WizardStep. Steps 3 to 98 are reached only by Back from
// STEP_ACCEPTED and show the path page.
enum {
    STEP_FINISHED = -1,  // the main loop ends
    STEP_PATH = 0,       // install folder and options
    STEP_LANGUAGE = 1,   // the product's interface language
    STEP_LICENCE = 2,    // the licence, Chinese or English
    STEP_ACCEPTED = 99   // installing, or waiting for a retry of the folder
};

// The wizard's page, a STEP_ value; the main loop runs while it is 0 or more.
extern int WizardStep;

// The main wizard dialog, owner of most message dialogs; null until
// start-up creates it.
extern HWND MainDialog;

// 1 once both licence texts are in their controls.
extern int LicenceLoaded;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The wizard's controls as they are drawn and named; group: the page a
// control belongs to. The path page's and the language page's are shown and
// hidden together; of the licence page's, the English box chooses.
enum { PAGE_ALL, PAGE_PATH, PAGE_LANGUAGE, PAGE_LICENCE };
extern const DialogControl kWizardControls[];
extern const int kWizardControlCount;

// The caption the wizard gives control `id` at `step` in place of its row's,
// or null: Next reads Agree/Install on the licence page.
const char *WizardCaption(int id, int step);

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
