/* Stand-in for the product program and its uninstaller in the sample payload:
   a real Windows program that says what it is. */
#include <windows.h>

#ifndef PLACEHOLDER_TEXT
#define PLACEHOLDER_TEXT "Morivane sample program"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show)
{
    (void)instance;
    (void)previous;
    (void)command;
    (void)show;
    MessageBoxA(NULL, PLACEHOLDER_TEXT, "Morivane", MB_OK | MB_ICONINFORMATION);
    return 0;
}
