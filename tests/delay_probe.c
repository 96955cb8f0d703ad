/* Delay-loads uxtheme, whose helper loads it by name at the first call: the
   program that the build's import check must refuse although its import
   table lists only known DLLs. */
#include <windows.h>

BOOL WINAPI IsThemeActive(void);

int main(void)
{
    return IsThemeActive() ? 1 : 0;
}
