// DLL search restriction and system DLLs loaded at run time (see system_dll.h).
#include "base/system_dll.h"

#include "base/join_path.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

// SetDefaultDllDirectories came with the LOAD_LIBRARY_SEARCH_ flags (Windows
// 8, and 7 or Vista with update KB2533623): one tells of the other.
static FARPROC KernelFunction(const char *name)
{
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

void RestrictDllSearch(void)
{
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
    SetDefaultDllDirectoriesFunction setDefault =
        (SetDefaultDllDirectoriesFunction)(void *)KernelFunction("SetDefaultDllDirectories");
    if (setDefault != NULL)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without it, at least the current directory leaves the search.
    SetDllDirectoryFunction setDirectory =
        (SetDllDirectoryFunction)(void *)KernelFunction("SetDllDirectoryA");
    if (setDirectory != NULL)
        setDirectory("");
}

HMODULE LoadSystemDll(const char *name)
{
    if (KernelFunction("SetDefaultDllDirectories") != NULL)
        return LoadLibraryExA(name, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Older systems: the full path, and the DLL's own imports looked for in
    // its folder first rather than in the program's.
    char folder[MAX_PATH];
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder || !JoinInstallPath(path, sizeof path, folder, name))
        return NULL;
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC SystemDllFunction(const char *dll, const char *function)
{
    HMODULE module = LoadSystemDll(dll);
    return module != NULL ? GetProcAddress(module, function) : NULL;
}
