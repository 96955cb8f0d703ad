// The folder chooser (see folder_chooser.h). The old-style dialog makes each
// folder the user opens the process's working directory; OK takes that.
#include "app/folder_chooser.h"

#include <commdlg.h>
#include <direct.h>
#include <stddef.h>
#include <dlgs.h>
#include <string.h>

#include "base/globals.h"
#include "base/system_dll.h"
#include "render/accessible.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"
#include "texts.h"

enum {
    // The request of Windows 95 and NT 4, which every system since accepts:
    // OPENFILENAMEA up to its template name.
    CHOOSER_REQUEST_SIZE = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR),
    CHOOSER_FLAGS = OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_NOCHANGEDIR |
                    OFN_HIDEREADONLY,
    FILE_NAME_BUFFER = 128
};
#ifndef _WIN64
static_assert(CHOOSER_REQUEST_SIZE == 76, "the old OPENFILENAMEA is 76 bytes");
#endif

void TrimTrailingBackslash(char *path)
{
    size_t length = strlen(path);
    if (length > 0 && path[length - 1] == '\\')
        path[length - 1] = '\0';
}

// comdlg32 is a known DLL on Windows, but Wine's imports comctl32, which is
// not: loaded here, after the search restriction, neither can come from
// beside the installer.
static BOOL OpenChooser(OPENFILENAMEA *request)
{
    typedef BOOL(WINAPI * GetOpenFileNameFunction)(OPENFILENAMEA *);
    GetOpenFileNameFunction open =
        (GetOpenFileNameFunction)(void *)SystemDllFunction("comdlg32.dll", "GetOpenFileNameA");
    return open != NULL && open(request);
}

// The buffer the chooser's OK writes to, kept with the chooser's window.
static const char kChosenFolder[] = "MorivaneChosenFolder";

int ChooseInstallFolder(HWND mainDialog, char *folder)
{
    char fileName[FILE_NAME_BUFFER] = "";
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
    request.lCustData = (LPARAM)folder;

    // OFN_NOCHANGEDIR does not restore the working directory for this call
    // (on Windows or Wine), so it is put back here.
    char workingDir[MAX_PATH];
    int saved = _getcwd(workingDir, sizeof workingDir) != NULL;
    BOOL chosen = OpenChooser(&request);
    if (saved)
        _chdir(workingDir);
    return chosen ? 1 : 0;
}

static UINT_PTR OnChooserOk(HWND chooser)
{
    char folder[MAX_PATH];
    if (_getcwd(folder, sizeof folder) == NULL)
        return 0;
    TrimTrailingBackslash(folder);
    char *chosen = (char *)GetPropA(chooser, kChosenFolder);
    if (chosen == NULL)
        return 0;
    strcpy(chosen, folder);
    EndDialog(chooser, 1);
    return 1;
}

// The chooser's own drawn controls; the system draws and names its standard
// ones.
const DialogControl kChooserControls[] = {
    {IDC_DIRS_LABEL, ROLE_SYSTEM_STATICTEXT, IDC_DIRS_LABEL, FACE_FLAT, ALIGN_LEFT, 0, 0,
     kDirectoriesCaption},
    {IDC_DRIVES_LABEL, ROLE_SYSTEM_STATICTEXT, IDC_DRIVES_LABEL, FACE_FLAT, ALIGN_LEFT, 0, 0,
     kDrivesCaption},
    {IDCANCEL, ROLE_SYSTEM_PUSHBUTTON, IDCANCEL, FACE_3D, ALIGN_CENTRE, 0, 0, kCancelCaption},
};
const int kChooserControlCount = sizeof kChooserControls / sizeof kChooserControls[0];

UINT_PTR CALLBACK FolderChooserHook(HWND chooser, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetPropA(chooser, kChosenFolder, (HANDLE)((OPENFILENAMEA *)lParam)->lCustData);
        HWND cancel = GetDlgItem(chooser, IDCANCEL);
        SetWindowLongA(cancel, GWL_STYLE, GetWindowLongA(cancel, GWL_STYLE) | BS_OWNERDRAW);
        DescribeDialog(chooser, kChooserControls, kChooserControlCount);
        SetFocus(GetDlgItem(chooser, lst2));  // the directory list
        return 1;
    }
    case WM_DESTROY:
        RemovePropA(chooser, kChosenFolder);
        return 0;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *item = (const DRAWITEMSTRUCT *)lParam;
        if (DescribedControl(item->hwndItem) == NULL)
            return 0;
        DrawOwnerButton(item);
        return 1;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK)
            return 0;
        // Enter is OK, the default push button, even on a focused Cancel:
        // Cancel was made owner-drawn, and the dialog manager never presses
        // an owner-drawn button for Enter. A click on OK has moved the focus
        // there first.
        if (GetFocus() == GetDlgItem(chooser, IDCANCEL)) {
            SendMessageA(chooser, WM_COMMAND, IDCANCEL, (LPARAM)GetFocus());
            return 1;
        }
        return OnChooserOk(chooser);
    }
    return 0;
}
