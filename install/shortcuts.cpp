// Shortcut creation (see shortcuts.h). Every composed path is checked against
// its buffer: a path that would not fit makes that shortcut fail.
#include "install/shortcuts.h"

#include <direct.h>
#include <io.h>
#include <objbase.h>
#include <shlobj.h>
#include <string.h>

#include "message/message_dialog.h"
#include "base/format.h"
#include "base/globals.h"
#include "base/join_path.h"
#include "install/install_state.h"
#include "texts.h"

enum { DESKTOP_PIECE_BUFFER = 100, USER_NAME_BUFFER = 256 };

// Appends `piece` to path[MAX_PATH]; 0 when it would not fit.
static int AppendFits(char *path, const char *piece)
{
    size_t length = strlen(path);
    if (length + strlen(piece) >= MAX_PATH)
        return 0;
    strcpy(path + length, piece);
    return 1;
}

int GetSpecialFolderPath(char *path, int csidl)
{
    IMalloc *allocator;
    if (FAILED(SHGetMalloc(&allocator)))
        return 0;
    int result = 0;
    LPITEMIDLIST list;
    if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, csidl, &list))) {
        result = SHGetPathFromIDListA(list, path) ? 1 : 0;
        allocator->Free(list);
    }
    allocator->Release();
    return result;
}

int GetLegacyFolderPath(char *path, int csidl)
{
    UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    char user[USER_NAME_BUFFER];
    DWORD userSize = sizeof user;
    if (IsWindowsNt && !GetUserNameA(user, &userSize))
        return 0;
    if (length == 0 || length >= MAX_PATH)
        return 0;
    if (path[length - 1] != '\\' && !AppendFits(path, "\\"))
        return 0;
    if (IsWindowsNt &&
        !(AppendFits(path, "profiles\\") && AppendFits(path, user) && AppendFits(path, "\\")))
        return 0;
    if (csidl == CSIDL_PROGRAMS)
        return AppendFits(path, "start menu\\programs");
    if (csidl == CSIDL_DESKTOP)
        return AppendFits(path, "Desktop");
    return 1;
}

int GetShortcutFolderPath(char *path, int csidl)
{
    return IsVersion3 ? GetLegacyFolderPath(path, csidl) : GetSpecialFolderPath(path, csidl);
}

static void ShowStartMenuFailure(HWND owner)
{
    ShowMessageDialog(kStartMenuFailureText, kStartMenuFailureSubText, MESSAGE_OK, owner);
}

// Makes folder\name the group folder when missing. 1 when it exists after.
static int MakeGroupFolder(char *folder, const char *folderName)
{
    char piece[MAX_PATH];
    if (!FormatText(piece, sizeof piece, "\\%s", folderName) || !AppendFits(folder, piece))
        return 0;
    // Anything of that name, a folder or a plain file, counts as existing.
    if (_access(folder, 0) == 0 || _mkdir(folder) == 0)
        return 1;
    return 0;
}

int CreateShortcutGroup(const char *folderName, const ShortcutEntry *entries, int csidl,
                        HWND owner)
{
    char folder[MAX_PATH];
    if (!GetShortcutFolderPath(folder, csidl)) {
        ShowStartMenuFailure(owner);
        return 0;
    }
    if (folderName != NULL && folderName[0] != '\0' && !MakeGroupFolder(folder, folderName)) {
        char message[MESSAGE_TEXT_SIZE];
        FormatText(message, sizeof message, kGroupFolderFailureFormat, folder);
        ShowMessageDialog(message, kCannotCreateFolder, MESSAGE_OK, owner);
        return 0;
    }
    // Each entry's result replaces the one before, so only the last counts:
    // the group is there for the user once its last shortcut is, and an
    // earlier failure is not reported on its own.
    int result = 1;
    for (const ShortcutEntry *entry = entries; entry->displayName != NULL; ++entry) {
        char link[MAX_PATH];
        char target[MAX_PATH];
        result = FormatText(link, sizeof link, "%s\\%s.lnk", folder, entry->displayName) &&
                 JoinInstallPath(target, sizeof target, InstallDir, entry->targetFileName) &&
                 WriteShellLink(target, link, entry->displayName);
    }
    if (result)
        return result;
    ShowStartMenuFailure(owner);
    return 0;
}

void CreateDesktopShortcut(const char *targetFileName, const char *displayName)
{
    char target[MAX_PATH];
    char link[MAX_PATH];
    char piece[DESKTOP_PIECE_BUFFER];
    if (!JoinInstallPath(target, sizeof target, InstallDir, targetFileName))
        return;
    if (!GetShortcutFolderPath(link, CSIDL_DESKTOP))
        return;
    if (!FormatText(piece, sizeof piece, "\\%s.lnk", displayName) || !AppendFits(link, piece))
        return;
    WriteShellLink(target, link, displayName);
}

// Sets what the link needs besides its path; results are not examined.
static void DescribeLink(IShellLinkA *link, const char *targetPath, const char *description)
{
    link->SetDescription(description);
    link->SetIconLocation(targetPath, 0);
    char workingDir[MAX_PATH];
    if (strlen(targetPath) >= sizeof workingDir)
        return;
    strcpy(workingDir, targetPath);
    char *slash = strrchr(workingDir, '\\');
    if (slash != NULL) {
        *slash = '\0';
        link->SetWorkingDirectory(workingDir);
    }
}

static HRESULT SaveLink(IShellLinkA *link, const char *linkPath)
{
    IPersistFile *file;
    HRESULT result = link->QueryInterface(IID_IPersistFile, (void **)&file);
    if (FAILED(result))
        return result;
    WCHAR widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0)
        result = E_FAIL;
    else
        result = file->Save(widePath, TRUE);
    file->Release();
    return result;
}

int WriteShellLink(const char *targetPath, const char *linkPath, const char *description)
{
    if (FAILED(CoInitialize(NULL)))
        return 0;
    IShellLinkA *link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, (void **)&link);
    if (SUCCEEDED(result)) {
        result = link->SetPath(targetPath);
        if (SUCCEEDED(result)) {
            DescribeLink(link, targetPath, description);
            result = SaveLink(link, linkPath);
        }
        link->Release();
    }
    CoUninitialize();
    return SUCCEEDED(result) ? 1 : 0;
}
