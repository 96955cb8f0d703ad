// The folder chooser behind Browse: the system's old-style Open dialog with
// the installer's own template (IDD_CHOOSE_DIR) and hook, reduced to a
// directory list, a drive list, OK and Cancel.
#ifndef MORIVANE_FOLDER_CHOOSER_H
#define MORIVANE_FOLDER_CHOOSER_H

#include <windows.h>

#include "render/dialog_description.h"

// The chooser's own drawn controls as they are drawn and named.
extern const DialogControl kChooserControls[];
extern const int kChooserControlCount;

// Runs the chooser over the wizard; on OK, 1 with the folder chosen in
// folder[MAX_PATH], else 0.
int ChooseInstallFolder(HWND mainDialog, char *folder);

UINT_PTR CALLBACK FolderChooserHook(HWND chooser, UINT message, WPARAM wParam, LPARAM lParam);

// Removes one trailing backslash, so a drive root "D:\" becomes "D:". Pure.
void TrimTrailingBackslash(char *path);

#endif
