// Loads DLLs the ways a program can, for the planting tests:
//   dll_probe open NAME.dll        by its bare name, as a system component would
//   dll_probe restricted NAME.dll  the same after the installer's restriction
//   dll_probe imports              nothing more: comctl32 is in its import
//                                  table, loaded before main, as the
//                                  installer's must not be
#include <windows.h>

#include <commctrl.h>
#include <string.h>

#include "base/system_dll.h"

int main(int argc, char **argv)
{
    if (argc == 2 && strcmp(argv[1], "imports") == 0) {
        InitCommonControls();
        return 0;
    }
    if (argc < 3)
        return 2;
    if (strcmp(argv[1], "restricted") == 0)
        RestrictDllSearch();
    return LoadLibraryA(argv[2]) != NULL ? 0 : 1;
}
