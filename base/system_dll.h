// DLL loading that nothing saved beside the program can take over: the
// default search restricted to the system folder, and the system DLLs that
// are not Windows' known DLLs loaded by name from there at run time, so that
// the import tables list known DLLs only.
#ifndef MORIVANE_SYSTEM_DLL_H
#define MORIVANE_SYSTEM_DLL_H

#include <windows.h>

// From here on, DLLs loaded by name come only from the system folder: a DLL
// downloaded beside the program (uxtheme.dll, dwmapi.dll, ...) is never
// loaded. The first thing each program does.
void RestrictDllSearch(void);

// Loads system DLL `name` ("comctl32.dll") from the system folder, with the
// DLLs it imports in turn; it stays loaded. NULL when it cannot.
HMODULE LoadSystemDll(const char *name);

// The address of `function` in system DLL `dll`, loaded as above; NULL when
// either is missing. The caller casts it to the function's own type.
FARPROC SystemDllFunction(const char *dll, const char *function);

#endif
