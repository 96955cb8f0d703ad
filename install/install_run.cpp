// The installation run (see install_run.h).
#include "install/install_run.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "base/globals.h"
#include "install/install_state.h"
#include "install/file_commit.h"
#include "install/payload_table.h"
#include "install/resource_extract.h"
#include "install/settings_file.h"
#include "install/shortcuts.h"
#include "resources/resource_ids.h"
#include "texts.h"

char InstallDir[MAX_PATH];
int UiLanguage;
int InstallOptions[OPTION_COUNT];

static_assert((int)PAYLOAD_FIRST_PROGRESS > (int)PROGRESS_STARTED &&
                  (int)PAYLOAD_LAST_PROGRESS < (int)PROGRESS_FILES_WRITTEN,
              "the rows' positions lie between the phases around them");

static void SetProgress(HWND bar, int position)
{
    SendMessageA(bar, PBM_SETPOS, (WPARAM)position, 0);
    UpdateWindow(bar);
}

// Writes the rows in order. Any row that fails ends the run: an installation
// with a missing or stale file is not a success.
static int WritePayload(HWND bar)
{
    for (const PayloadEntry &row : PayloadTable) {
        if (!ExtractResourceToFile(row.id, row.fileName, PAYLOAD_BUFFER_SIZE,
                                   row.attributes & PAYLOAD_READ_ONLY,
                                   row.attributes & PAYLOAD_HIDDEN, NULL))
            return 0;
        if (row.progressAfter != 0)
            SetProgress(bar, row.progressAfter);
    }
    SetProgress(bar, PROGRESS_FILES_WRITTEN);
    return 1;
}

// Makes the chosen shortcuts of the table's rows for `csidl`, in order: in
// the group folder named after the product for the Start menu, on the
// desktop one by one (a failure there is silent), else in the folder itself,
// telling of failures in messages owned by `owner`.
static void CreateShortcutsIn(int csidl, HWND owner)
{
    ShortcutEntry entries[SHORTCUT_ROWS + 1];
    int count = 0;
    for (const ShortcutRow &row : ShortcutTable)
        if (row.csidl == csidl && ShortcutTarget(row) != NULL &&
            (row.option == OPTION_ALWAYS || InstallOptions[row.option]))
            entries[count++] = {row.name(DisplayLanguage), ShortcutTarget(row)};
    entries[count] = {NULL, NULL};
    if (count == 0)
        return;
    if (csidl == CSIDL_DESKTOP) {
        for (int i = 0; i < count; ++i)
            CreateDesktopShortcut(entries[i].targetFileName, entries[i].displayName);
    } else {
        CreateShortcutGroup(csidl == CSIDL_PROGRAMS ? ProductDisplayName(DisplayLanguage) : NULL,
                            entries, csidl, owner);
    }
}

// Their results are not examined: a missing shortcut does not undo an
// installation, and each failure has told the user already.
static void CreateShortcuts(HWND owner, HWND bar)
{
    for (int i = 0; i < SHORTCUT_ROWS; ++i) {
        int csidl = ShortcutTable[i].csidl;
        if (i > 0 && ShortcutTable[i - 1].csidl == csidl)
            continue;
        CreateShortcutsIn(csidl, owner);
        if (csidl == CSIDL_PROGRAMS)
            SetProgress(bar, PROGRESS_GROUP_MADE);
    }
}

// A run that fails puts back every file it replaced and removes those it
// added before the user is told: the earlier installation still works, as
// the failure message's advice to try again assumes. A run starts only from
// a folder that holds nothing a killed run left unresolved, since it could
// otherwise overwrite the one copy of an earlier file.
int RunInstall(HWND owner)
{
    HWND bar = GetDlgItem(owner, IDC_PROGRESS);
    int repaired = BeginInstallRecord(InstallDir);
    ShowWindow(bar, SW_SHOW);
    SetProgress(bar, PROGRESS_STARTED);
    if (!repaired || !WritePayload(bar) || !WriteUiLanguage() || !FinishInstallRecord()) {
        RollBackInstallRecord();
        return 0;
    }
    CreateShortcuts(owner, bar);
    SetProgress(bar, PROGRESS_SHORTCUTS_MADE);
    SetProgress(bar, PROGRESS_DONE);
    return 1;
}
