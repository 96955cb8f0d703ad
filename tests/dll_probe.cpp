// Imports comctl32, as the installer must not: whatever lies beside it under
// that name is loaded before its first line runs. The planting tests' positive
// control, and the program that the build's import check must refuse.
#include <windows.h>

#include <commctrl.h>

int main(void)
{
    InitCommonControls();
    return 0;
}
