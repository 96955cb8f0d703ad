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

int ResolveInstallFolder(const char *typed, char *out, size_t size)
{
    // "X:" alone names the drive's current folder to Windows, but the files'
    // names ("X:\name") put them in its root: the root it is.
    char root[] = {typed[0], ':', '\\', '\0'};
    const char *name = typed[0] != '\0' && typed[1] == ':' && typed[2] == '\0' ? root : typed;
    DWORD length = GetFullPathNameA(name, (DWORD)size, out, NULL);
    if (length == 0 || length >= size)
        return 0;
    if (length > 3 && out[length - 1] == '\\')
        out[length - 1] = '\0';
    return 1;
}

// Asks whether to install into `folder`, which another account owns or may
// change: it could replace the program that the startup shortcut runs.
static int UserTakesOpenFolder(const char *folder, HWND owner)
{
    return AskAboutFolder(kOpenFolderFormat, kOpenFolderSubFormat, kOpenFolderSubText, folder,
                          owner);
}

// Enters the typed folder, made absolute once, so that what is judged is
// what is written to; or creates it (one level) with permissions of its own:
// one made at a drive root would otherwise let every account change the
// program that the startup shortcut runs. The folders on the way are judged
// first: a junction among them is refused, and when another account could
// move one, the user is asked before anything is made. The folder is made
// before it is looked at, so that one another account makes meanwhile is
// never entered uninspected; one that exists already is judged as it is.
static int EnterTypedFolder(const char *typed, HWND owner)
{
    if (!ResolveInstallFolder(typed, InstallDir, sizeof InstallDir))
        return INSTALL_FOLDER_NOT_READY;
    for (int exists = 0, asked = 0;; exists = 1) {
        int verdict = InspectInstallPath(InstallDir, exists);
        if (verdict == FOLDER_OPEN_TO_OTHERS && !asked) {
            if (!UserTakesOpenFolder(InstallDir, owner))
                return INSTALL_FOLDER_DECLINED;
            asked = 1;
        }
        if (verdict == FOLDER_ABSENT || verdict == FOLDER_REPARSE_POINT)
            return INSTALL_FOLDER_NOT_READY;
        if (exists)
            return _chdir(InstallDir) == 0 ? INSTALL_FOLDER_ENTERED : INSTALL_FOLDER_NOT_READY;
        if (CreateInstallFolder(InstallDir))
            return INSTALL_FOLDER_CREATED;
        // A drive root, or a folder in one the user may not add to, is no
        // failure yet: Windows may say access is denied, not that it exists.
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
            return INSTALL_FOLDER_NOT_READY;
    }
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

static void OfferSpeechRuntime(HWND owner)
{
    if (ShowMessageDialog(kSpeechOfferText, kSpeechOfferSubText, MESSAGE_OK_CANCEL, owner) != IDOK)
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

int EnterInstallFolder(const char *typed, HWND owner)
{
    int entered = EnterTypedFolder(typed, owner);
    if (entered == INSTALL_FOLDER_NOT_READY) {
        char sub[MESSAGE_SUBTEXT_SIZE];
        FormatText(sub, sizeof sub, kFolderFailureSubFormat, kCannotCreateFolder);
        ShowMessageDialog(kFolderFailureText, sub, MESSAGE_OK, owner);
    }
    return entered;
}

int InstallCommand(const InstallChoices &choices, int folder, HWND owner)
{
    for (int option = 0; option < OPTION_COUNT; ++option)
        InstallOptions[option] = choices.options[option];
    UiLanguage = choices.uiLanguage;
    time_t start = time(NULL);
    ShowBusy(owner);
    int installed = RunInstall(owner);
    if (!installed && folder == INSTALL_FOLDER_CREATED)
        RemoveFailedRunFolder();
    WaitUntilMinimumTime(start);
    if (!installed) {
        ShowMessageDialog(kInstallFailedText, kInstallFailedSubText, MESSAGE_OK, owner);
    } else {
        ShowMessageDialog(kInstallDoneText, kInstallDoneSubText, MESSAGE_OK, owner);
        OfferSpeechRuntime(owner);
    }
    return installed;
}
