// Start-up, environment detection and the main message loop (see startup.h).
#include "app/startup.h"

#include <commctrl.h>
#include <string.h>

#include "app/globals.h"
#include "app/message_dialog.h"
#include "app/wizard.h"
#include "render/glyph_atlas.h"
#include "resources/resource_ids.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

void RestrictDllSearch(void)
{
    // Looked up at run time: older systems lack both functions.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetDefaultDllDirectoriesFunction setDefault = (SetDefaultDllDirectoriesFunction)(void *)
        GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (setDefault != NULL)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without it, at least the current directory leaves the search.
    SetDllDirectoryFunction setDirectory =
        (SetDllDirectoryFunction)(void *)GetProcAddress(kernel, "SetDllDirectoryA");
    if (setDirectory != NULL)
        setDirectory("");
}

int IsDbcsCodePage(void)
{
    CPINFO info;
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

int DecideDisplayLanguage(int dbcsCodePage, LANGID systemLanguage)
{
    if (!dbcsCodePage || (systemLanguage & 0x3FF) != LANG_CHINESE)
        return 0;
    return (systemLanguage & 0x400) ? 2 : 1;
}

void DetectEnvironment(void)
{
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = 148;
    if (GetVersionExA(&version)) {
        IsWindowsNt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        IsVersion3 = version.dwMajorVersion == 3;
    }
    DisplayLanguage = DecideDisplayLanguage(IsDbcsCodePage(), GetSystemDefaultLangID());
}

int IsEnterTargetButton(HWND focus)
{
    if (focus == NULL)
        return 0;
    char className[100];
    if (GetClassNameA(focus, className, sizeof className) == 0)
        return 0;
    className[sizeof className - 1] = '\0';
    if (lstrcmpiA(className, "button") != 0)
        return 0;
    switch (GetWindowLongA(focus, GWL_STYLE) & 0xFF) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return 0;
    }
    return 1;
}

int RouteEnterKey(void)
{
    HWND focus = GetFocus();
    if (IsEnterTargetButton(focus)) {
        PostMessageA(MainDialog, WM_COMMAND, (WPARAM)GetDlgCtrlID(focus), 0);
        return 1;
    }
    PostMessageA(MainDialog, WM_COMMAND, IDC_NEXT, 0);
    return 0;
}

static void RunMessageLoop(void)
{
    MSG message;
    while (WizardStep >= 0 && GetMessageA(&message, NULL, 0, 0) != 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && RouteEnterKey())
            continue;
        if (!IsDialogMessageA(MainDialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

int RunInstaller(HINSTANCE instance)
{
    RestrictDllSearch();
    SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
    DetectEnvironment();
    AppInstance = instance;

    switch (BuildGlyphAtlas()) {
    case ATLAS_BUILT:
        break;
    case ATLAS_OUT_OF_MEMORY:
        ShowMessageDialog(kOutOfMemoryText, kOutOfMemorySubText, 0, NULL);
        return 1;
    case ATLAS_GRAPHICS_FAILURE:
        ReleaseGlyphAtlas();
        return 0;
    default:
        return 1;
    }

    // The progress bar's class must exist before the wizard's template is read.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    WizardStep = 0;
    ProductIcon = LoadIconA(AppInstance, MAKEINTRESOURCEA(IDI_PRODUCT));
    MainDialog = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL,
                                    MainDialogProc, 0);
    // Without the wizard nothing would ever end the loop: stop at once.
    if (MainDialog == NULL) {
        ReleaseGlyphAtlas();
        return 1;
    }
    RunMessageLoop();
    DestroyWindow(MainDialog);
    MainDialog = NULL;
    ReleaseGlyphAtlas();
    return 0;
}
