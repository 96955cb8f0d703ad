// Folders with permissions of their own (see folders.h).
#include "install/folders.h"

#include <windows.h>

#include <sddl.h>
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
// A folder's owner and DACL as read: one larger counts as unreadable, and so
// as open to others.
enum { DESCRIPTOR_BUFFER = 4096 };

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
// Rights over a folder on the way that let an account move it, or the next
// folder down, and put another in its place. Adding beside them does not,
// such as the right every user has to add folders to a drive root; nor does
// deleting a drive root, which cannot be.
static const DWORD kMoveRights = DELETE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER | GENERIC_ALL;
static const DWORD kRightsJudged[] = {kMoveRights, kMoveRights & ~DELETE, kChangeRights};
// Administrators, SYSTEM and TrustedInstaller control the system anyway;
// CREATOR OWNER stands for the user in what the run creates.
static const char *const kSystemSids[] = {
    "S-1-5-32-544", "S-1-5-18", "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
    "S-1-3-0"};

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

int OthersMayChangeFolder(void *descriptor, int role, const char *userSid)
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
    DWORD rights = kRightsJudged[role];
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE *ace = NULL;
        if (!getAce(dacl, i, (LPVOID *)&ace))
            return 1;
        // An inherit-only entry says nothing about the folder itself, but
        // every file the run creates in the install folder takes it.
        BYTE flags = ace->Header.AceFlags;
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && (ace->Mask & rights) &&
            (!(flags & INHERIT_ONLY_ACE) || (role == JUDGED_INSTALL_FOLDER && (flags & OBJECT_INHERIT_ACE))) &&
            !IsUserOrSystem(&ace->SidStart, userSid, sidToText))
            return 1;
    }
    return 0;
}

// Opens `path` as itself, not what a junction or link points to, and reads
// its owner and DACL into descriptor[DESCRIPTOR_BUFFER]. A FOLDER_ value:
// ABSENT when it is missing or no folder, REPARSE_POINT when it is a link
// and `links` says so (not for a drive root, which Wine reports as one when
// it is a mount point), OPEN_TO_OTHERS when it cannot be read. The name's
// attributes count too: Wine opens what a symbolic link points to and says
// only there that it is one.
static int ReadFolder(const char *path, ObjectSecurityFunction objectSecurity, void *descriptor,
                      DWORD links)
{
    DWORD attributes = GetFileAttributesA(path);
    HANDLE folder = CreateFileA(path, READ_CONTROL | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (folder == INVALID_HANDLE_VALUE)
        return attributes == INVALID_FILE_ATTRIBUTES ? FOLDER_ABSENT : FOLDER_OPEN_TO_OTHERS;
    BY_HANDLE_FILE_INFORMATION information;
    DWORD needed;
    int verdict =
        !GetFileInformationByHandle(folder, &information) ||
                !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ? FOLDER_ABSENT
        : (attributes | information.dwFileAttributes) & links
            ? FOLDER_REPARSE_POINT
        : objectSecurity(folder, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, descriptor,
                         DESCRIPTOR_BUFFER, &needed)
            ? FOLDER_SAFE
            : FOLDER_OPEN_TO_OTHERS;
    CloseHandle(folder);
    return verdict;
}

// The length of the root of a full path: "X:\" or "\\server\share\".
static size_t RootLength(const char *path)
{
    size_t at = 0;
    for (int separators = path[0] == '\\' ? 4 : 1; path[at] != '\0' && separators > 0; ++at)
        separators -= path[at] == '\\';
    return at;
}

int InspectInstallPath(const char *path, int folderExists)
{
    // A system without SIDs as text predates owners and permissions (9x).
    ObjectSecurityFunction objectSecurity =
        (ObjectSecurityFunction)(void *)SecurityFunction("GetKernelObjectSecurity");
    if (objectSecurity == NULL || SecurityFunction("ConvertSidToStringSidA") == NULL)
        return FOLDER_SAFE;
    char sid[SID_TEXT_BUFFER];
    char part[MAX_PATH];
    DWORD descriptor[DESCRIPTOR_BUFFER / sizeof(DWORD)];
    size_t length = strlen(path);
    if (length >= sizeof part || !CurrentUserSid(sid, sizeof sid))
        return FOLDER_OPEN_TO_OTHERS;
    memcpy(part, path, length + 1);
    // From the root down, each folder as itself: whoever may move one on the
    // way, or what is in it, may put another install folder in its place.
    int open = 0;
    size_t root = RootLength(part);
    for (size_t end = root;;) {
        char saved = part[end];
        part[end] = '\0';
        int last = saved == '\0';
        if (last && !folderExists)
            break;
        int read = ReadFolder(part, objectSecurity, descriptor,
                              end == root ? 0 : FILE_ATTRIBUTE_REPARSE_POINT);
        if (read == FOLDER_ABSENT || read == FOLDER_REPARSE_POINT)
            return read;
        int role = last ? JUDGED_INSTALL_FOLDER : end == root ? JUDGED_DRIVE_ROOT : JUDGED_ON_THE_WAY;
        open |= read == FOLDER_OPEN_TO_OTHERS || OthersMayChangeFolder(descriptor, role, sid);
        if (last)
            break;
        part[end] = saved;
        size_t separator = saved == '\\';
        end += separator + strcspn(part + end + separator, "\\");
    }
    return open ? FOLDER_OPEN_TO_OTHERS : FOLDER_SAFE;
}
