/* A DLL that must never be loaded: copied beside the installer under the
   names of system DLLs, it leaves a file "<its path>.loaded" if it is. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH + 8];
        DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcatA(path, ".loaded");
            HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, NULL);
            if (marker != INVALID_HANDLE_VALUE)
                CloseHandle(marker);
        }
    }
    return TRUE;
}

/* Some callers look for an export before anything else. */
__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR name, LPDWORD handle)
{
    (void)name;
    if (handle)
        *handle = 0;
    return 0;
}
