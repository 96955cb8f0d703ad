// Folders with permissions of their own (see folders.h).
#include "install/folders.h"

#include <windows.h>

#include <sddl.h>
#include <stdlib.h>
#include <string.h>

#include "base/format.h"

// Looked up at run time, so that the installer still starts on systems
// older than they are (Windows 2000 for the first two, XP for the third).
typedef BOOL(WINAPI *SidToTextFunction)(PSID, LPSTR *);
typedef BOOL(WINAPI *TextToDescriptorFunction)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR *, PULONG);
typedef BOOLEAN(WINAPI *RandomFunction)(PVOID, ULONG);
typedef BOOL(WINAPI *ObjectSecurityFunction)(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR,
                                             DWORD, LPDWORD);
typedef BOOL(WINAPI *OwnerFunction)(PSECURITY_DESCRIPTOR, PSID *, LPBOOL);
typedef BOOL(WINAPI *DaclFunction)(PSECURITY_DESCRIPTOR, LPBOOL, PACL *, LPBOOL);
typedef BOOL(WINAPI *AceFunction)(PACL, DWORD, LPVOID *);

static FARPROC SecurityFunction(const char *name)
{
    return GetProcAddress(GetModuleHandleA("advapi32.dll"), name);
}

enum { TOKEN_USER_BUFFER = 256, SID_TEXT_BUFFER = 192, DACL_TEXT_BUFFER = 384, NAME_ATTEMPTS = 16 };

// Full control for the running user, Administrators and SYSTEM, and for
// Users read and run where `%s` says so; inherited by files and subfolders.
// Protected (P): nothing comes from the parent, such as the right of every
// authenticated user to change files under a drive root.
static const char kFolderDacl[] = "D:P(A;OICI;FA;;;%s)(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)%s";
static const char kUsersReadAndRun[] = "(A;OICI;0x1200a9;;;BU)";

// The running user's SID as text, into out[size].
static int CurrentUserSid(char *out, size_t size)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    // TOKEN_USER and the SID it points into, in one aligned buffer.
    DWORD buffer[TOKEN_USER_BUFFER / sizeof(DWORD)];
    DWORD needed = 0;
    BOOL got = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &needed);
    CloseHandle(token);
    SidToTextFunction sidToText = (SidToTextFunction)(void *)SecurityFunction("ConvertSidToStringSidA");
    char *text = NULL;
    if (!got || sidToText == NULL || !sidToText(((TOKEN_USER *)buffer)->User.Sid, &text))
        return 0;
    int fits = FormatText(out, size, "%s", text);
    LocalFree(text);
    return fits;
}

// Creates `path` with the folder permissions above. Without them there is
// no folder: one with inherited permissions is what this prevents. A system
// that cannot write permissions as text at all predates them (Windows 9x,
// NT 4): the folder is made as the system makes it.
static int CreateFolderOfOurOwn(const char *path, int othersMayRun)
{
    TextToDescriptorFunction textToDescriptor = (TextToDescriptorFunction)(void *)SecurityFunction(
        "ConvertStringSecurityDescriptorToSecurityDescriptorA");
    if (textToDescriptor == NULL)
        return CreateDirectoryA(path, NULL) ? 1 : 0;
    char sid[SID_TEXT_BUFFER];
    char dacl[DACL_TEXT_BUFFER];
    PSECURITY_DESCRIPTOR descriptor = NULL;
    if (!CurrentUserSid(sid, sizeof sid) ||
        !FormatText(dacl, sizeof dacl, kFolderDacl, sid, othersMayRun ? kUsersReadAndRun : "") ||
        !textToDescriptor(dacl, SDDL_REVISION_1, &descriptor, NULL)) {
        SetLastError(ERROR_INVALID_SECURITY_DESCR);
        return 0;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    BOOL created = CreateDirectoryA(path, &attributes);
    DWORD error = GetLastError();
    LocalFree(descriptor);
    SetLastError(error);
    return created ? 1 : 0;
}

int CreateInstallFolder(const char *path) { return CreateFolderOfOurOwn(path, 1); }

// The temporary folder, ending in a backslash, into parent[MAX_PATH].
static void GetPrivateFolderParent(char *parent)
{
    DWORD length = GetTempPathA(MAX_PATH, parent);
    if (length == 0 || length >= MAX_PATH)
        strcpy(parent, "C:\\");
}

static const char kPrivatePrefix[] = "Morivane-";
static const char kHexDigits[] = "0123456789abcdef";
enum { PRIVATE_NAME_DIGITS = 16 };

int CreatePrivateTempFolder(char *out, size_t size)
{
    // Without the system's random numbers there is no name nobody could
    // guess, and so no private folder.
    RandomFunction random = (RandomFunction)(void *)SecurityFunction("SystemFunction036");
    char parent[MAX_PATH];
    GetPrivateFolderParent(parent);
    for (int attempt = 0; random != NULL && attempt < NAME_ATTEMPTS; ++attempt) {
        unsigned long bits[2];
        if (!random(bits, sizeof bits) ||
            !FormatText(out, size, "%s%s%08lx%08lx", parent, kPrivatePrefix, bits[0], bits[1]))
            break;
        if (CreateFolderOfOurOwn(out, 0))
            return 1;
        // Someone else's folder of that name, maybe laid in wait: another name.
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (size > 0)
        out[0] = '\0';
    return 0;
}

int IsPrivateTempFolder(const char *path)
{
    char parent[MAX_PATH];
    GetPrivateFolderParent(parent);
    size_t parentLength = strlen(parent);
    size_t prefixLength = sizeof kPrivatePrefix - 1;
    if (_strnicmp(path, parent, parentLength) != 0)
        return 0;
    const char *name = path + parentLength;
    return strncmp(name, kPrivatePrefix, prefixLength) == 0 &&
           strlen(name) == prefixLength + PRIVATE_NAME_DIGITS &&
           strspn(name + prefixLength, kHexDigits) == PRIVATE_NAME_DIGITS;
}

// Rights that let an account put another program where the user's is: write
// or add files and folders, delete, change permissions or take ownership.
static const DWORD kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD |
                                   DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
// Administrators, SYSTEM and TrustedInstaller: they control the system anyway.
static const char *const kSystemSids[] = {
    "S-1-5-32-544", "S-1-5-18", "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};

static int IsUserOrSystem(PSID sid, const char *userSid, SidToTextFunction sidToText)
{
    char *text = NULL;
    if (sid == NULL || !sidToText(sid, &text))
        return 0;
    int trusted = strcmp(text, userSid) == 0;
    for (const char *system : kSystemSids)
        trusted |= strcmp(text, system) == 0;
    LocalFree(text);
    return trusted;
}

int OthersMayChangeFolder(PSECURITY_DESCRIPTOR descriptor, const char *userSid)
{
    SidToTextFunction sidToText = (SidToTextFunction)(void *)SecurityFunction("ConvertSidToStringSidA");
    OwnerFunction getOwner = (OwnerFunction)(void *)SecurityFunction("GetSecurityDescriptorOwner");
    DaclFunction getDacl = (DaclFunction)(void *)SecurityFunction("GetSecurityDescriptorDacl");
    AceFunction getAce = (AceFunction)(void *)SecurityFunction("GetAce");
    if (sidToText == NULL || getOwner == NULL || getDacl == NULL || getAce == NULL)
        return 0;
    PSID owner = NULL;
    PACL dacl = NULL;
    BOOL present = FALSE, defaulted = FALSE;
    if (!getOwner(descriptor, &owner, &defaulted) || !IsUserOrSystem(owner, userSid, sidToText))
        return 1;
    // No DACL at all lets everyone do everything.
    if (!getDacl(descriptor, &present, &dacl, &defaulted) || !present || dacl == NULL)
        return 1;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE *ace = NULL;
        if (!getAce(dacl, i, (LPVOID *)&ace))
            return 1;
        // Inherit-only entries (CREATOR OWNER's) say nothing about the folder.
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE ||
            (ace->Header.AceFlags & INHERIT_ONLY_ACE) || !(ace->Mask & kChangeRights))
            continue;
        if (!IsUserOrSystem(&ace->SidStart, userSid, sidToText))
            return 1;
    }
    return 0;
}

// Owner and DACL of an open folder, judged; a folder that cannot be read
// counts as one that others may change.
static int JudgeOpenFolder(HANDLE folder, ObjectSecurityFunction objectSecurity)
{
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    char sid[SID_TEXT_BUFFER];
    DWORD needed = 0;
    objectSecurity(folder, wanted, NULL, 0, &needed);
    void *descriptor = needed != 0 ? malloc(needed) : NULL;
    int verdict = FOLDER_OPEN_TO_OTHERS;
    if (descriptor != NULL && CurrentUserSid(sid, sizeof sid) &&
        objectSecurity(folder, wanted, descriptor, needed, &needed) &&
        !OthersMayChangeFolder(descriptor, sid))
        verdict = FOLDER_SAFE;
    free(descriptor);
    return verdict;
}

int InspectExistingFolder(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FOLDER_ABSENT;
    // A system without SIDs as text predates owners and permissions (9x).
    ObjectSecurityFunction objectSecurity =
        (ObjectSecurityFunction)(void *)SecurityFunction("GetKernelObjectSecurity");
    if (objectSecurity == NULL || SecurityFunction("ConvertSidToStringSidA") == NULL)
        return FOLDER_SAFE;
    // The folder itself, not what a junction or link points to; judged by
    // what was opened, so a name swapped meanwhile changes nothing. The
    // name's attributes count too: Wine opens what a symbolic link points to
    // and says only there that it is one.
    HANDLE folder = CreateFileA(path, READ_CONTROL | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (folder == INVALID_HANDLE_VALUE)
        return FOLDER_OPEN_TO_OTHERS;
    BY_HANDLE_FILE_INFORMATION information;
    int verdict = FOLDER_OPEN_TO_OTHERS;
    if (GetFileInformationByHandle(folder, &information))
        verdict = ((attributes | information.dwFileAttributes) & FILE_ATTRIBUTE_REPARSE_POINT)
                      ? FOLDER_REPARSE_POINT
                      : JudgeOpenFolder(folder, objectSecurity);
    CloseHandle(folder);
    return verdict;
}
