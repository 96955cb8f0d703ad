// The sample uninstaller installed by the default payload. Started from the
// install folder, it copies itself to the temporary folder and runs from
// there, so that it can remove its own file too. After a bilingual
// confirmation it removes exactly what the installer made: the 25 payload
// files, the shortcuts by the names the installer uses for this system's
// language, the empty group folder and the install folder when left empty.
#include <windows.h>

#include <shlobj.h>
#include <string.h>

#include "app/environment.h"
#include "app/message_dialog.h"
#include "base/format.h"
#include "base/globals.h"
#include "base/join_path.h"
#include "base/system_dll.h"
#include "install/file_attributes.h"
#include "install/payload_table.h"
#include "install/shortcuts.h"
#include "render/glyph_atlas.h"
#include "sample/program_folder.h"
#include "texts.h"

static const char kRemoveSwitch[] = "/remove ";

// Names that could not be removed, for the closing message.
static char NotRemoved[MESSAGE_SUBTEXT_SIZE];

static void NoteNotRemoved(const char *name)
{
    char list[MESSAGE_SUBTEXT_SIZE];
    if (NotRemoved[0] == '\0')
        FormatText(list, sizeof list, "%s %s", kUninstallPartialSubText, name);
    else
        FormatText(list, sizeof list, "%s, %s", NotRemoved, name);
    FormatText(NotRemoved, sizeof NotRemoved, "%s", list);
}

// Deletes one file the installer wrote, read-only or hidden as it may be. The
// uninstaller's own file may still be in use for a moment by the copy's
// parent: it is retried.
static void RemoveInstalledFile(const char *folder, const char *name)
{
    char path[MAX_PATH];
    if (!JoinInstallPath(path, sizeof path, folder, name) ||
        GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return;
    ClearFileAttributes(path, 1, 1);
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (DeleteFileA(path))
            return;
        Sleep(100);
    }
    NoteNotRemoved(name);
}

// Deletes folder\name.lnk when it is there.
static void RemoveLink(const char *folder, const char *name)
{
    char path[MAX_PATH];
    if (!FormatText(path, sizeof path, "%s\\%s.lnk", folder, name) ||
        GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return;
    if (!DeleteFileA(path))
        NoteNotRemoved(path);
}

static void RemoveShortcuts(void)
{
    const char *product = ProductDisplayName(DisplayLanguage);
    char folder[MAX_PATH];
    char group[MAX_PATH];
    if (GetShortcutFolderPath(folder, CSIDL_PROGRAMS) &&
        FormatText(group, sizeof group, "%s\\%s", folder, product)) {
        RemoveLink(group, product);
        RemoveLink(group, UninstallerDisplayName(DisplayLanguage));
        RemoveDirectoryA(group);  // only when empty: anything else there stays
    }
    if (GetShortcutFolderPath(folder, CSIDL_DESKTOP))
        RemoveLink(folder, product);
    if (GetShortcutFolderPath(folder, CSIDL_STARTUP))
        RemoveLink(folder, product);
}

static int RemoveProduct(const char *folder)
{
    BuildInstalledGlyphAtlas(folder);
    int result = 0;
    if (ShowMessageDialog(kUninstallConfirmText, kUninstallConfirmSubText, MESSAGE_YES_NO, NULL) ==
        IDYES) {
        for (const PayloadEntry &row : PayloadTable)
            RemoveInstalledFile(folder, row.fileName);
        RemoveShortcuts();
        RemoveDirectoryA(folder);  // only when empty: the user's own files stay
        if (NotRemoved[0] == '\0') {
            ShowMessageDialog(kUninstallDoneText, kUninstallDoneSubText, MESSAGE_OK, NULL);
        } else {
            ShowMessageDialog(kUninstallPartialText, NotRemoved, MESSAGE_OK, NULL);
            result = 1;
        }
    }
    ReleaseGlyphAtlas();
    // This copy in the temporary folder goes at the next restart, where allowed.
    char self[MAX_PATH];
    if (GetModuleFileNameA(NULL, self, sizeof self) < sizeof self)
        MoveFileExA(self, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    return result;
}

// Runs a copy of this program from the temporary folder on `folder`.
static int StartCopy(const char *folder)
{
    char self[MAX_PATH], temp[MAX_PATH], copy[MAX_PATH], command[3 * MAX_PATH];
    DWORD tempLength = GetTempPathA(sizeof temp, temp);
    if (GetModuleFileNameA(NULL, self, sizeof self) >= sizeof self || tempLength == 0 ||
        tempLength >= sizeof temp ||
        !FormatText(copy, sizeof copy, "%sMorivaneUnInstall-%lu.exe", temp,
                    GetCurrentProcessId()) ||
        !FormatText(command, sizeof command, "\"%s\" %s\"%s\"", copy, kRemoveSwitch, folder) ||
        !CopyFileA(self, copy, FALSE))
        return 0;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(copy, command, NULL, NULL, FALSE, 0, NULL, temp, &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    RestrictDllSearch();
    AppInstance = instance;
    DetectEnvironment();
    // The copy is told the install folder: "/remove "<folder>"".
    if (strncmp(commandLine, kRemoveSwitch, sizeof kRemoveSwitch - 1) == 0) {
        char folder[MAX_PATH];
        const char *given = commandLine + sizeof kRemoveSwitch - 1;
        if (*given == '"')
            ++given;
        if (!FormatText(folder, sizeof folder, "%s", given))
            return 1;
        size_t length = strlen(folder);
        if (length > 0 && folder[length - 1] == '"')
            folder[length - 1] = '\0';
        return RemoveProduct(folder);
    }
    char folder[MAX_PATH];
    if (!GetProgramFolder(folder))
        return 1;
    // Where no copy can run, remove what can be removed from here.
    return StartCopy(folder) ? 0 : RemoveProduct(folder);
}
