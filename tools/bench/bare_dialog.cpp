// The yardsticks for start-up: the smallest dialog program, built the same
// way as the installer, that puts a window on the screen. Built with
// INSTALLER_IMPORTS it also imports what the installer imports, loads
// comctl32 with the progress class as the installer does and shows a dialog
// of the wizard's size, so that the installer's time and memory over it are
// the installer's own work. Built with WIZARD_TEMPLATE as well, it shows the
// installer's own wizard template, linked with the installer's resources,
// and does nothing else: the time Wine takes to make that template's
// controls, which the installer cannot go below while the template is made
// whole.
#include <windows.h>

#ifdef INSTALLER_IMPORTS
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

// Referenced, never called: each name keeps its DLL in the import table,
// the installer's table. Its order counts under Wine: gdi32's imports take
// the base address that ole32 wants, and ole32 is then relocated (about
// 700 KB more working set), in the installer and here alike.
static void *volatile Imports[] = {(void *)ShellExecuteA, (void *)CoCreateInstance,
                                   (void *)RegCloseKey, (void *)CreateBitmap};

static void LoadCommonControls(void)
{
    typedef BOOL(WINAPI * InitFunction)(const INITCOMMONCONTROLSEX *);
    HMODULE comctl32 = LoadLibraryExA("comctl32.dll", NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    InitFunction initialize =
        comctl32 != NULL ? (InitFunction)(void *)GetProcAddress(comctl32, "InitCommonControlsEx")
                         : NULL;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    if (initialize != NULL && Imports[0] != NULL)
        initialize(&controls);
}
#endif

static INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, 0);
    return message == WM_INITDIALOG;
}

#if defined(WIZARD_TEMPLATE)
#include "resources/resource_ids.h"
enum { YARDSTICK_DIALOG = IDD_MAIN };
#elif defined(INSTALLER_IMPORTS)
enum { YARDSTICK_DIALOG = 2 };  // the wizard's size
#else
enum { YARDSTICK_DIALOG = 1 };
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
#ifdef INSTALLER_IMPORTS
    LoadCommonControls();
#endif
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(YARDSTICK_DIALOG), NULL,
                                BareDialogProc, 0);
}
