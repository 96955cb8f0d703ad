// Environment detection and the DLL search restriction (see environment.h).
#include "app/environment.h"

#include <string.h>

#include "base/globals.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

void RestrictDllSearch(void)
{
    // Looked up at run time: older systems lack both functions.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetDefaultDllDirectoriesFunction setDefault = (SetDefaultDllDirectoriesFunction)(void *)
        GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (setDefault != NULL)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without it, at least the current directory leaves the search.
    SetDllDirectoryFunction setDirectory =
        (SetDllDirectoryFunction)(void *)GetProcAddress(kernel, "SetDllDirectoryA");
    if (setDirectory != NULL)
        setDirectory("");
}

int IsDbcsCodePage(void)
{
    CPINFO info;
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

int DecideDisplayLanguage(int dbcsCodePage, LANGID systemLanguage)
{
    if (!dbcsCodePage || (systemLanguage & 0x3FF) != LANG_CHINESE)
        return LANGUAGE_ENGLISH;
    return (systemLanguage & 0x400) ? LANGUAGE_TRADITIONAL : LANGUAGE_SIMPLIFIED;
}

// The structure of Windows 95 and NT 4, which every system since accepts.
enum { VERSION_INFO_SIZE = 148 };
static_assert(sizeof(OSVERSIONINFOA) == VERSION_INFO_SIZE, "OSVERSIONINFOA is 148 bytes");

void DetectEnvironment(void)
{
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = VERSION_INFO_SIZE;
    if (GetVersionExA(&version)) {
        IsWindowsNt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        IsVersion3 = version.dwMajorVersion == 3;
    }
    DisplayLanguage = DecideDisplayLanguage(IsDbcsCodePage(), GetSystemDefaultLangID());
}
