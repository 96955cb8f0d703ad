// The folder chooser (see folder_chooser.h). The old-style dialog makes each
// folder the user opens the process's working directory; OK takes that.
#include "app/folder_chooser.h"

#include <commdlg.h>
#include <direct.h>
#include <string.h>

#include "app/globals.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"

enum {
    CHOOSER_REQUEST_SIZE = 76,  // the OPENFILENAMEA of Windows 95 / NT 4
    CHOOSER_FLAGS = OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_NOCHANGEDIR |
                    OFN_HIDEREADONLY,
    DIRECTORY_LIST = 1121  // lst2 of the old-style template
};

static const char kChooserTitle[] = "Choose Destination Directory";

void TrimTrailingBackslash(char *path)
{
    size_t length = strlen(path);
    if (length > 0 && path[length - 1] == '\\')
        path[length - 1] = '\0';
}

void ChooseInstallFolder(HWND mainDialog)
{
    char fileName[128] = "";
    OPENFILENAMEA request;
    memset(&request, 0, sizeof request);
    request.lStructSize = CHOOSER_REQUEST_SIZE;
    request.hwndOwner = mainDialog;
    request.lpstrFile = fileName;
    request.nMaxFile = sizeof fileName;
    // Without a title Wine names the window "Open File"; the template's
    // caption is what the user must see.
    request.lpstrTitle = kChooserTitle;
    request.Flags = CHOOSER_FLAGS;
    request.lpfnHook = FolderChooserHook;
    request.lpTemplateName = MAKEINTRESOURCEA(IDD_CHOOSE_DIR);

    // OFN_NOCHANGEDIR does not restore the working directory for this call
    // (on Windows or Wine), so it is put back here.
    char workingDir[MAX_PATH];
    int saved = _getcwd(workingDir, sizeof workingDir) != NULL;
    BOOL chosen = GetOpenFileNameA(&request);
    if (saved)
        _chdir(workingDir);
    if (chosen)
        SetDlgItemTextA(mainDialog, IDC_PATH_EDIT, InstallDir);
}

static UINT_PTR OnChooserOk(HWND chooser)
{
    char folder[MAX_PATH];
    if (_getcwd(folder, sizeof folder) == NULL)
        return 0;
    TrimTrailingBackslash(folder);
    strcpy(InstallDir, folder);
    EndDialog(chooser, 1);
    return 1;
}

UINT_PTR CALLBACK FolderChooserHook(HWND chooser, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        HWND cancel = GetDlgItem(chooser, IDCANCEL);
        SetWindowLongA(cancel, GWL_STYLE, GetWindowLongA(cancel, GWL_STYLE) | BS_OWNERDRAW);
        SetFocus(GetDlgItem(chooser, DIRECTORY_LIST));
        return 1;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *item = (const DRAWITEMSTRUCT *)lParam;
        if (item->CtlID != IDC_DIRS_LABEL && item->CtlID != IDC_DRIVES_LABEL &&
            item->CtlID != IDCANCEL)
            return 0;
        DrawOwnerButton(item);
        return 1;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            return OnChooserOk(chooser);
        return 0;
    }
    return 0;
}
