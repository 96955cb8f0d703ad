// The sample Morivane program installed by the default payload: a window
// titled with the product's name that shows the interface language recorded
// in MorivaneUI.ini, its Chinese drawn from the installed glyph atlas with the
// installer's own painters.
#include <windows.h>

#include "app/environment.h"
#include "app/languages.h"
#include "base/format.h"
#include "base/globals.h"
#include "base/join_path.h"
#include "base/system_dll.h"
#include "install/payload_table.h"
#include "render/glyph_atlas.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"
#include "sample/program_folder.h"
#include "texts.h"

// The language the installer recorded; 0 (English) when none is.
static int ReadUiLanguage(const char *folder)
{
    // The settings file is the installer's payload row of that name.
    const PayloadEntry *settings = FindPayloadRow(kSettingsEdit.file);
    char path[MAX_PATH];
    if (settings == NULL || !JoinInstallPath(path, sizeof path, folder, settings->fileName))
        return LANGUAGE_ENGLISH;
    int language = (int)GetPrivateProfileIntA(kSettingsEdit.section, kSettingsEdit.key,
                                              LANGUAGE_ENGLISH, path);
    return OfferedLanguage(language) ? language : LANGUAGE_ENGLISH;
}

static void OnProductInit(HWND dialog, int language)
{
    SetWindowTextA(dialog, ProductDisplayName(DisplayLanguage));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, (LPARAM)ProductIcon);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, (LPARAM)ProductIcon);
    char label[128];
    FormatText(label, sizeof label, "%s%s", kProductLanguageLabel, OfferedLanguage(language)->chineseName);
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
