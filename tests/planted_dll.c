/* A DLL that must never be loaded: copied beside a program under the names
   of system DLLs, it leaves a file "<its path>.loaded" if it is. */
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

/* What a program importing comctl32 asks of it, so that such a program
   starts with the planted copy as it would with the real one. */
__declspec(dllexport) void WINAPI InitCommonControls(void) {}

__declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void *controls)
{
    (void)controls;
    return TRUE;
}
