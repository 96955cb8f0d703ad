// The installation run (see install_run.h).
#include "install/install_run.h"

#include <commctrl.h>
#include <direct.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "app/format.h"
#include "app/globals.h"
#include "app/message_dialog.h"
#include "install/resource_extract.h"
#include "install/settings_file.h"
#include "install/shortcuts.h"
#include "resources/resource_ids.h"

static const char kFolderFailure[] =
    "\xCE\xDE\xB7\xA8\xBD\xA8\xC4\xBF\xC2\xBC\xA1\xA3\xC7\xEB\xBC\xEC\xB2\xE9\xCB\xF9\xC1\xD0\xC4\xBF"
    "\xC2\xBC\xCA\xC7\xB7\xF1\xBA\xCF\xB7\xA8\xA3\xA8\xD7\xA2\xD2\xE2\xA3\xBA\xD7\xD3\xC4\xBF\xC2\xBC"
    "\xD6\xBB\xC4\xDC\xD4\xDA\xD2\xD1\xB4\xE6\xD4\xDA\xB5\xC4\xC4\xBF\xC2\xBC\xCF\xC2\xBD\xA8\xA3\xA9"
    "\xA1\xA3";
static const char kInstallFailed[] =
    "\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC\xA3\xA1\xC7\xEB\xBC\xEC\xB2\xE9\xD2\xBB\xCF\xC2\xCF\xB5\xCD\xB3"
    "\xBA\xF3\xA3\xAC\xD4\xD9\xD6\xD8\xD0\xC2\xB0\xB2\xD7\xB0\xA1\xA3\xD0\xBB\xD0\xBB\xA3\xA1";
static const char kInstallFailedSub[] =
    "Installation failed. Please check your system (quit all Quelt applications) and try again.";
static const char kInstallDone[] =
    "\xD7\xA3\xBA\xD8\xC4\xFA\xA3\xBA\xB0\xB2\xD7\xB0\xCB\xB3\xC0\xFB\xCD\xEA\xB3\xC9\xA3\xA1";
static const char kInstallDoneSub[] = "Congratulations! Installation Success!";
static const char kSpeechOffer[] =
    "\xCF\xC2\xC3\xE6\xB0\xB2\xD7\xB0\xCE\xA2\xC8\xED\xB5\xC4\xD3\xEF\xD2\xF4\xC4\xA3\xBF\xE9"
    "SAPI5.1.";
static const char kSpeechOfferSub[] = "Now install sound module SAPI5.1 from Microsoft.";
static const char kSpeechPackage[] = "Sapi51forQuelt.msi";

static const int kHiddenWhileInstalling[] = {IDC_NEXT, IDC_BACK, IDCANCEL, IDC_WAIT_LABEL};

int IsAbsoluteInstallPath(const char *path)
{
    int drive = ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':';
    if (drive)
        return path[2] == '\0' || path[2] == '\\' || path[2] == '/';
    return (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
}

static void SetProgress(int position)
{
    HWND bar = GetDlgItem(MainDialog, IDC_PROGRESS);
    SendMessageA(bar, PBM_SETPOS, (WPARAM)position, 0);
    UpdateWindow(bar);
}

// Writes the rows in order. Any row that fails ends the run: an installation
// with a missing or stale file is not a success.
static int WritePayload(unsigned char *buffer)
{
    for (const PayloadEntry &row : PayloadTable) {
        if (!ExtractResourceToFile(row.id, row.fileName, buffer, PAYLOAD_BUFFER_SIZE,
                                   row.readOnly, row.hidden, NULL))
            return 0;
        if (row.progressAfter != 0)
            SetProgress(row.progressAfter);
    }
    return 1;
}

static void CreateShortcuts(void)
{
    const char *product = ProductDisplayName(DisplayLanguage);
    const ShortcutEntry group[] = {{product, "Morivane.exe"},
                                   {UninstallerDisplayName(DisplayLanguage),
                                    "MorivaneUnInstall.exe"},
                                   {NULL, NULL}};
    CreateShortcutGroup(product, group, CSIDL_PROGRAMS);
    SetProgress(94);
    if (DesktopIconOption)
        CreateDesktopShortcut("Morivane.exe", product);
    if (AutoStartOption) {
        const ShortcutEntry startup[] = {{product, "Morivane.exe"}, {NULL, NULL}};
        CreateShortcutGroup(NULL, startup, CSIDL_STARTUP);
    }
}

int RunInstall(void)
{
    unsigned char *buffer = (unsigned char *)malloc(PAYLOAD_BUFFER_SIZE);
    if (buffer == NULL) {
        ShowMessageDialog(kOutOfMemoryText, kOutOfMemorySubText, 0, MainDialog);
        return 0;
    }
    ShowWindow(GetDlgItem(MainDialog, IDC_PROGRESS), SW_SHOW);
    SetProgress(10);
    int written = WritePayload(buffer);
    if (written) {
        WriteUiLanguage();
        CreateShortcuts();
        SetProgress(97);
        SetProgress(100);
    }
    free(buffer);
    return written;
}

// Enters the typed folder, or creates it (one level). An absolute path is
// kept exactly as typed; a relative one becomes absolute, so that files,
// settings and shortcut targets all name the same folder.
static int EnterInstallFolder(void)
{
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(InstallDir, sizeof full, full, NULL);
    int absolute = IsAbsoluteInstallPath(InstallDir) || length == 0 || length >= sizeof full;
    if (_chdir(InstallDir) != 0 && !CreateDirectoryA(InstallDir, NULL))
        return 0;
    if (!absolute)
        strcpy(InstallDir, full);
    return 1;
}

static void CaptureChoices(HWND dialog)
{
    DesktopIconOption = IsDlgButtonChecked(dialog, IDC_DESKTOP_ICON) == BST_CHECKED;
    AutoStartOption = IsDlgButtonChecked(dialog, IDC_AUTOSTART) == BST_CHECKED;
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_COMBO);
    LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    UiLanguage = (int)SendMessageA(list, CB_GETITEMDATA, (WPARAM)selected, 0);
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
    if (ShowMessageDialog(kSpeechOffer, kSpeechOfferSub, 1, MainDialog) != IDOK)
        return;
    unsigned char *buffer = (unsigned char *)malloc(SPEECH_BUFFER_SIZE);
    if (buffer == NULL) {
        ShowMessageDialog(kOutOfMemoryText, kOutOfMemorySubText, 0, MainDialog);
        return;
    }
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        strcpy(folder, "C:\\");
    char path[MAX_PATH];
    int fits = FormatText(path, sizeof path, "%s%s", folder, kSpeechPackage);
    // Only a package this run has written is opened: a file of the same
    // name left by someone else must never be run.
    if (fits && ExtractResourceToFile(IDR_SPEECH_RUNTIME_MSI, kSpeechPackage, buffer,
                                      SPEECH_BUFFER_SIZE, 0, 0, path))
        ShellExecuteA(NULL, "open", path, NULL, NULL, SW_SHOWNORMAL);
    free(buffer);
}

void InstallCommand(HWND mainDialog)
{
    GetDlgItemTextA(mainDialog, IDC_PATH_EDIT, InstallDir, sizeof InstallDir);
    if (!EnterInstallFolder()) {
        char sub[MESSAGE_SUBTEXT_SIZE];
        FormatText(sub, sizeof sub, "%s Please check folder path.", "Cannot create folder!");
        ShowMessageDialog(kFolderFailure, sub, 0, MainDialog);
        return;
    }
    CaptureChoices(mainDialog);
    for (int id : kHiddenWhileInstalling) {
        HWND control = GetDlgItem(mainDialog, id);
        ShowWindow(control, SW_HIDE);
        UpdateWindow(control);
    }
    time_t start = time(NULL);
    ShowBusy(mainDialog);
    int installed = RunInstall();
    WaitUntilMinimumTime(start);
    if (!installed) {
        ShowMessageDialog(kInstallFailed, kInstallFailedSub, 0, MainDialog);
    } else {
        ShowMessageDialog(kInstallDone, kInstallDoneSub, 0, MainDialog);
        OfferSpeechRuntime();
    }
    WizardStep = -1;
}
