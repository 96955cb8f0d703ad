// The Agree/Install command (see install_command.h).
#include "install/install_command.h"

#include <direct.h>
#include <shellapi.h>
#include <string.h>
#include <time.h>

#include "message/message_dialog.h"
#include "base/format.h"
#include "base/globals.h"
#include "base/join_path.h"
#include "install/folders.h"
#include "install/install_run.h"
#include "install/install_state.h"
#include "install/resource_extract.h"
#include "resources/resource_ids.h"
#include "texts.h"

static const char kSpeechPackage[] = "Sapi51forQuelt.msi";

int IsAbsoluteInstallPath(const char *path)
{
    int drive = ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':';
    if (drive)
        return path[2] == '\0' || path[2] == '\\' || path[2] == '/';
    return (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
}

// Asks whether to install into `folder`, which another account owns or may
// change: it could replace the program that the startup shortcut runs.
static int UserTakesOpenFolder(const char *folder)
{
    return AskAboutFolder(kOpenFolderFormat, kOpenFolderSubFormat, kOpenFolderSubText, folder,
                          InstallOwner);
}

// Enters the typed folder, or creates it (one level) with permissions of
// its own: one made at a drive root would otherwise let every account change
// the program that the startup shortcut runs. An existing folder is looked
// at first: a junction or mount point, which would send the files elsewhere,
// is refused; one that another account controls is used only if the user
// says so. An absolute path is kept exactly as typed; a relative one becomes
// absolute, so that files, settings and shortcut targets all name the same
// folder.
static int EnterTypedFolder(void)
{
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(InstallDir, sizeof full, full, NULL);
    int absolute = IsAbsoluteInstallPath(InstallDir) || length == 0 || length >= sizeof full;
    int existing = InspectExistingFolder(InstallDir);
    if (existing == FOLDER_REPARSE_POINT)
        return INSTALL_FOLDER_NOT_READY;
    if (existing == FOLDER_OPEN_TO_OTHERS && !UserTakesOpenFolder(absolute ? InstallDir : full))
        return INSTALL_FOLDER_DECLINED;
    int entered = _chdir(InstallDir) == 0            ? INSTALL_FOLDER_ENTERED
                  : CreateInstallFolder(InstallDir) ? INSTALL_FOLDER_CREATED
                                                    : INSTALL_FOLDER_NOT_READY;
    if (entered != INSTALL_FOLDER_NOT_READY && !absolute)
        memcpy(InstallDir, full, length + 1);
    return entered;
}

// A folder made for a run that failed goes when the run left it empty.
// Windows will not remove the process's current folder: its parent is made
// current first.
static void RemoveFailedRunFolder(void)
{
    char parent[MAX_PATH];
    if (FormatText(parent, sizeof parent, "%s\\..", InstallDir) && _chdir(parent) == 0)
        RemoveDirectoryA(InstallDir);
}

// The wait cursor, with the pointer brought onto the dialog when outside.
static void ShowBusy(HWND dialog)
{
    SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
    RECT r;
    POINT pointer;
    if (!GetWindowRect(dialog, &r) || !GetCursorPos(&pointer))
        return;
    if (pointer.x < r.left || pointer.x >= r.right || pointer.y < r.top || pointer.y >= r.bottom)
        SetCursorPos(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2);
}

// The user sees the busy installer for at least the minimum time, on the
// calendar clock; short sleeps keep the wait from burning a processor.
static void WaitUntilMinimumTime(time_t start)
{
    while (time(NULL) < start + MINIMUM_RUN_SECONDS)
        Sleep(20);
}

static void OfferSpeechRuntime(void)
{
    if (ShowMessageDialog(kSpeechOfferText, kSpeechOfferSubText, MESSAGE_OK_CANCEL, InstallOwner) !=
        IDOK)
        return;
    // Written into a folder of this run's own, with a name nobody can guess,
    // and opened only when written whole: no one else can put or swap a
    // package where it is opened from.
    char folder[MAX_PATH];
    char path[MAX_PATH];
    if (CreatePrivateTempFolder(folder, sizeof folder)) {
        if (JoinInstallPath(path, sizeof path, folder, kSpeechPackage) &&
            ExtractResourceToFile(IDR_SPEECH_RUNTIME_MSI, kSpeechPackage, SPEECH_BUFFER_SIZE, 0,
                                  0, path)) {
            ShellExecuteA(NULL, "open", path, NULL, NULL, SW_SHOWNORMAL);
        } else {
            DeleteFileA(path);
            RemoveDirectoryA(folder);
        }
    }
}

int EnterInstallFolder(HWND owner)
{
    InstallOwner = owner;
    int entered = EnterTypedFolder();
    if (entered == INSTALL_FOLDER_NOT_READY) {
        char sub[MESSAGE_SUBTEXT_SIZE];
        FormatText(sub, sizeof sub, kFolderFailureSubFormat, kCannotCreateFolder);
        ShowMessageDialog(kFolderFailureText, sub, MESSAGE_OK, owner);
    }
    return entered;
}

int InstallCommand(const InstallChoices &choices, int folder, HWND owner)
{
    InstallOwner = owner;
    for (int option = 0; option < OPTION_COUNT; ++option)
        InstallOptions[option] = choices.options[option];
    UiLanguage = choices.uiLanguage;
    time_t start = time(NULL);
    ShowBusy(owner);
    int installed = RunInstall();
    if (!installed && folder == INSTALL_FOLDER_CREATED)
        RemoveFailedRunFolder();
    WaitUntilMinimumTime(start);
    if (!installed) {
        ShowMessageDialog(kInstallFailedText, kInstallFailedSubText, MESSAGE_OK, owner);
    } else {
        ShowMessageDialog(kInstallDoneText, kInstallDoneSubText, MESSAGE_OK, owner);
        OfferSpeechRuntime();
    }
    return installed;
}
