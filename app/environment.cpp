// Environment detection (see environment.h).
#include "app/environment.h"

#include <string.h>

#include "base/globals.h"

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
