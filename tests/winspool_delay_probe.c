/* Delay-loads winspool.drv, a DLL whose name does not end in .dll, through a
   delay library made by dlltool and stripped as the shipped programs are:
   the program that the build's import check must refuse without symbols
   and whatever the DLL's name ends in. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI GetDefaultPrinterA(LPSTR, LPDWORD);

int main(void)
{
    DWORD size = 0;
    return GetDefaultPrinterA(NULL, &size) ? 1 : 0;
}
