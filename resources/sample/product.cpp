// The sample Morivane program installed by the default payload: a window
// titled with the product's name that shows the interface language recorded
// in MorivaneUI.ini, its Chinese drawn from the installed glyph atlas with the
// installer's own painters.
#include <windows.h>

#include "app/format.h"
#include "app/globals.h"
#include "app/startup.h"
#include "app/wizard.h"
#include "install/install_run.h"
#include "install/resource_extract.h"
#include "render/glyph_atlas.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"
#include "sample.h"

// "Interface language:" and the language names by UiLanguage, in GBK.
static const char kLanguageLabel[] = "\xBD\xE7\xC3\xE6\xD3\xEF\xD1\xD4\xA3\xBA";
static const char *const kChineseLanguageNames[] = {
    "\xD3\xA2\xCE\xC4", "\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4", "\xB7\xB1\xCC\xE5\xD6\xD0\xCE\xC4"};

// The language the installer recorded; 0 (English) when none is.
static int ReadUiLanguage(const char *folder)
{
    char path[MAX_PATH];
    if (!JoinInstallPath(path, sizeof path, folder, "MorivaneUI.ini"))
        return 0;
    int language = (int)GetPrivateProfileIntA("Config", "UILanguage", 0, path);
    return language >= 0 && language <= 2 ? language : 0;
}

static void OnProductInit(HWND dialog, int language)
{
    SetWindowTextA(dialog, ProductDisplayName(DisplayLanguage));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, (LPARAM)ProductIcon);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, (LPARAM)ProductIcon);
    char label[128];
    FormatText(label, sizeof label, "%s%s", kLanguageLabel, kChineseLanguageNames[language]);
    SetDlgItemTextA(dialog, IDC_MSG_TEXT, label);
    SetDlgItemTextA(dialog, IDC_LANGUAGE_NAME, UiLanguageName(language));
}

static INT_PTR CALLBACK ProductDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                          LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnProductInit(dialog, (int)lParam);
        return TRUE;
    case WM_DRAWITEM:
        DrawOwnerButton((const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return FALSE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictDllSearch();
    AppInstance = instance;
    DetectEnvironment();
    char folder[MAX_PATH];
    if (!GetProgramFolder(folder))
        return 1;
    // Without its atlas the program still runs; its Chinese stays blank.
    BuildInstalledGlyphAtlas(folder);
    ProductIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PRODUCT));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PRODUCT), NULL, ProductDialogProc,
                    ReadUiLanguage(folder));
    ReleaseGlyphAtlas();
    return 0;
}
