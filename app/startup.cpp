// Start-up and the main message loop (see startup.h).
#include "app/startup.h"

#include <commctrl.h>

#include "app/environment.h"
#include "message/message_dialog.h"
#include "app/wizard.h"
#include "base/globals.h"
#include "base/system_dll.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "resources/resource_ids.h"
#include "texts.h"

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
    while (WizardStep > STEP_FINISHED && GetMessageA(&message, NULL, 0, 0) != 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && RouteEnterKey())
            continue;
        if (!IsDialogMessageA(MainDialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// comctl32 is not one of Windows' known DLLs: imported, it would be looked
// for beside the installer before any of its code runs. So it is loaded here,
// from the system folder, once the search is restricted.
static int RegisterProgressClass(void)
{
    typedef BOOL(WINAPI * InitCommonControlsExFunction)(const INITCOMMONCONTROLSEX *);
    InitCommonControlsExFunction initialize = (InitCommonControlsExFunction)(void *)
        SystemDllFunction("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    return initialize != NULL && initialize(&controls);
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
        ShowMessageDialog(kOutOfMemoryText, kOutOfMemorySubText, MESSAGE_OK, NULL);
        return 1;
    case ATLAS_GRAPHICS_FAILURE:
        ReleaseGlyphAtlas();
        return 0;
    default:
        return 1;
    }

    // The progress bar's class must exist before the wizard's template is
    // read; without it the wizard cannot be made, which ends the run below.
    RegisterProgressClass();

    WizardStep = STEP_PATH;
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
