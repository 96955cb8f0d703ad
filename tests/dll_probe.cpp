// Loads a system DLL by its bare name, the way a system component would,
// with or without the installer's DLL search restriction:
// dll_probe (restricted|open) NAME.dll
#include <windows.h>
#include <string.h>

#include "app/environment.h"

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    if (strcmp(argv[1], "restricted") == 0)
        RestrictDllSearch();
    return LoadLibraryA(argv[2]) != NULL ? 0 : 1;
}
