// The sample uninstaller installed by the default payload. Started from the
// install folder, it copies itself into a private folder of its own under
// the temporary folder and runs from there, so that it can remove its own
// file too. After a bilingual confirmation naming the folder it removes
// exactly what the installer made: the payload table's files and the
// installer's working files beside them, the shortcuts by the names the
// installer uses for this system's language, the empty group folder and the
// install folder when left empty.
#include <windows.h>

#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "app/environment.h"
#include "message/message_dialog.h"
#include "base/format.h"
#include "base/globals.h"
#include "base/join_path.h"
#include "base/system_dll.h"
#include "install/file_attributes.h"
#include "install/file_commit.h"
#include "install/folders.h"
#include "install/payload_table.h"
#include "install/shortcuts.h"
#include "render/glyph_atlas.h"
#include "resources/resource_ids.h"
#include "sample/program_folder.h"
#include "texts.h"

static const char kRemoveSwitch[] = "/remove ";

enum { COMPARE_CHUNK = 4096 };

// This program's installed name, from its payload row.
static const char *UninstallerFileName(void)
{
    const PayloadEntry *row = FindPayloadRow(IDR_UNINSTALLER_EXE);
    return row != NULL ? row->fileName : "";
}

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

// The shortcuts of the installation's table, by the names for this
// system's language, whatever options made them; then the group folder.
static void RemoveShortcuts(void)
{
    char folder[MAX_PATH], group[MAX_PATH] = "";
    for (const ShortcutRow &row : ShortcutTable) {
        if (!GetShortcutFolderPath(folder, row.csidl))
            continue;
        if (row.csidl == CSIDL_PROGRAMS &&
            (!FormatText(group, sizeof group, "%s\\%s", folder,
                         ProductDisplayName(DisplayLanguage)) ||
             !FormatText(folder, sizeof folder, "%s", group)))
            continue;
        RemoveLink(folder, row.name(DisplayLanguage));
    }
    if (group[0] != '\0')
        RemoveDirectoryA(group);  // only when empty: anything else there stays
}

// Asks, naming the folder, whether to remove the product from it.
static int ConfirmRemoval(const char *folder)
{
    return AskAboutFolder(kUninstallConfirmFormat, kUninstallConfirmSubFormat,
                          kUninstallConfirmSubText, folder, NULL);
}

static int RemoveProduct(const char *folder)
{
    BuildInstalledGlyphAtlas(folder);
    int result = 0;
    if (ConfirmRemoval(folder)) {
        for (const PayloadEntry &row : PayloadTable)
            RemoveInstalledFile(folder, row.fileName);
        RemoveWorkingFiles(folder);
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
    return result;
}

static int SameFileContent(const char *one, const char *other)
{
    FILE *a = fopen(one, "rb");
    FILE *b = fopen(other, "rb");
    int same = a != NULL && b != NULL;
    unsigned char chunkA[COMPARE_CHUNK], chunkB[COMPARE_CHUNK];
    while (same) {
        size_t countA = fread(chunkA, 1, sizeof chunkA, a);
        size_t countB = fread(chunkB, 1, sizeof chunkB, b);
        same = countA == countB && memcmp(chunkA, chunkB, countA) == 0;
        if (countA < sizeof chunkA)
            break;
    }
    if (a != NULL)
        fclose(a);
    if (b != NULL)
        fclose(b);
    return same;
}

// Whether `folder` holds this very uninstaller: whatever a command line
// names, nothing else is removed.
static int HoldsThisUninstaller(const char *folder)
{
    char self[MAX_PATH];
    char installed[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, self, sizeof self);
    return length > 0 && length < sizeof self &&
           JoinInstallPath(installed, sizeof installed, folder, UninstallerFileName()) &&
           SameFileContent(self, installed);
}

// The running copy and its private folder go once it is done: at once where
// the system lets a running program's file go, else at the next restart
// (which Windows lets only an administrator ask for).
static void RemoveRunningCopy(void)
{
    char self[MAX_PATH];
    char folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, self, sizeof self);
    if (length == 0 || length >= sizeof self || !GetProgramFolder(folder) ||
        !IsPrivateTempFolder(folder))
        return;
    if (!DeleteFileA(self))
        MoveFileExA(self, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!RemoveDirectoryA(folder))
        MoveFileExA(folder, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// Runs a copy of this program from a private folder on `folder`: nothing
// else can write there, so nothing can be planted beside the copy or swapped
// for it.
static int StartCopy(const char *folder)
{
    char self[MAX_PATH], temp[MAX_PATH], copy[MAX_PATH] = "", command[3 * MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, self, sizeof self);
    if (length == 0 || length >= sizeof self || !CreatePrivateTempFolder(temp, sizeof temp))
        return 0;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (JoinInstallPath(copy, sizeof copy, temp, UninstallerFileName()) &&
        FormatText(command, sizeof command, "\"%s\" %s\"%s\"", copy, kRemoveSwitch, folder) &&
        CopyFileA(self, copy, TRUE) &&
        CreateProcessA(copy, command, NULL, NULL, FALSE, 0, NULL, temp, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return 1;
    }
    DeleteFileA(copy);
    RemoveDirectoryA(temp);
    return 0;
}

// The folder a copy is told to remove ("/remove "<folder>""), into
// folder[MAX_PATH]; 0 when it does not fit.
static int GetFolderToRemove(const char *commandLine, char *folder)
{
    const char *given = commandLine + sizeof kRemoveSwitch - 1;
    if (*given == '"')
        ++given;
    if (!FormatText(folder, MAX_PATH, "%s", given))
        return 0;
    size_t length = strlen(folder);
    if (length > 0 && folder[length - 1] == '"')
        folder[length - 1] = '\0';
    return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    RestrictDllSearch();
    AppInstance = instance;
    DetectEnvironment();
    char folder[MAX_PATH];
    if (strncmp(commandLine, kRemoveSwitch, sizeof kRemoveSwitch - 1) == 0) {
        int result = GetFolderToRemove(commandLine, folder) && HoldsThisUninstaller(folder)
                         ? RemoveProduct(folder)
                         : 1;
        RemoveRunningCopy();
        return result;
    }
    if (!GetProgramFolder(folder))
        return 1;
    // Where no copy can run, remove what can be removed from here.
    return StartCopy(folder) ? 0 : RemoveProduct(folder);
}
