// The wizard dialog (see wizard.h): initialisation, the page machine driven
// by WizardStep, the licence texts and the command handlers.
#include "app/wizard.h"

#include <stdlib.h>
#include <zlib.h>

#include "app/folder_chooser.h"
#include "app/languages.h"
#include "message/message_dialog.h"
#include "base/format.h"
#include "base/globals.h"
#include "base/text_resource.h"
#include "install/install_command.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"
#include "texts.h"

int WizardStep;
HWND MainDialog;
int LicenceLoaded;

// Lines of the Chinese licence list, in pixels.
enum { LICENCE_ITEM_HEIGHT = 23, LICENCE_ITEM_WIDTH = 1024 };

// The first page's option boxes: drawn with their captions, heard as check
// boxes (resource_ids.h lists them).
#define OPTION_CONTROL_ROW(name, id, option, top, caption, text, checked) \
    {id, ROLE_SYSTEM_CHECKBUTTON, id, FACE_3D, ALIGN_CENTRE, 0, PAGE_PATH, caption},

const DialogControl kWizardControls[] = {
    {IDC_PATH_EDIT, ROLE_SYSTEM_TEXT, IDC_PATH_LABEL, FACE_3D, ALIGN_CENTRE, 0, PAGE_PATH, NULL},
    {IDC_ENGLISH, ROLE_SYSTEM_CHECKBUTTON, NAME_SYSTEM_TEXT, FACE_3D, ALIGN_CENTRE, 0,
     PAGE_LICENCE, NULL},
    // The list draws only its lines: a screen reader hears it by this name.
    {IDC_LICENCE_ZH, ROLE_SYSTEM_LIST, IDC_LICENCE_ZH, FACE_3D, ALIGN_CENTRE, 0, PAGE_LICENCE,
     kLicenceListName},
    {IDC_LICENCE_EN, ROLE_NONE, NAME_NONE, FACE_3D, ALIGN_CENTRE, 0, PAGE_LICENCE, NULL},
    {IDC_BROWSE, ROLE_SYSTEM_PUSHBUTTON, IDC_BROWSE, FACE_3D, ALIGN_CENTRE, 0, PAGE_PATH,
     kBrowseCaption},
    MORIVANE_OPTION_BOXES(OPTION_CONTROL_ROW)
    {IDC_PATH_LABEL, ROLE_SYSTEM_STATICTEXT, IDC_PATH_LABEL, FACE_FLAT, ALIGN_LEFT, 0, PAGE_PATH,
     kPathLabelCaption},
    {IDC_LANGUAGE_LABEL, ROLE_SYSTEM_STATICTEXT, IDC_LANGUAGE_LABEL, FACE_FLAT, ALIGN_CENTRE, 0,
     PAGE_LANGUAGE, kLanguageLabelCaption},
    {IDC_LANGUAGE_COMBO, ROLE_SYSTEM_COMBOBOX, IDC_LANGUAGE_LABEL, FACE_3D, ALIGN_CENTRE, 0,
     PAGE_LANGUAGE, NULL},
    {IDC_BACK, ROLE_SYSTEM_PUSHBUTTON, IDC_BACK, FACE_3D, ALIGN_CENTRE, 0, PAGE_ALL, kBackCaption},
    {IDC_NEXT, ROLE_SYSTEM_PUSHBUTTON, IDC_NEXT, FACE_3D, ALIGN_CENTRE, CONTROL_DEFAULT_FRAME,
     PAGE_ALL, kNextCaption},
    {IDCANCEL, ROLE_SYSTEM_PUSHBUTTON, IDCANCEL, FACE_3D, ALIGN_CENTRE, 0, PAGE_ALL,
     kCancelCaption},
    {IDC_PRODUCT_ICON, ROLE_SYSTEM_GRAPHIC, NAME_NONE, FACE_3D, ALIGN_CENTRE, 0, PAGE_ALL, NULL},
    {IDC_DIVIDER, ROLE_SYSTEM_SEPARATOR, NAME_NONE, FACE_3D, ALIGN_CENTRE, 0, PAGE_ALL, NULL},
    {IDC_TITLE_LABEL, ROLE_SYSTEM_STATICTEXT, IDC_TITLE_LABEL, FACE_FLAT, ALIGN_CENTRE, 0,
     PAGE_ALL, kTitleCaption},
    // Never shown: the edition label stays hidden, and keeps its caption.
    {IDC_EDITION_LABEL, ROLE_SYSTEM_STATICTEXT, IDC_EDITION_LABEL, FACE_FLAT, ALIGN_CENTRE, 0,
     PAGE_ALL, kEditionCaption},
    {IDC_INSTALLER_LABEL, ROLE_SYSTEM_STATICTEXT, IDC_INSTALLER_LABEL, FACE_FLAT, ALIGN_CENTRE, 0,
     PAGE_ALL, kInstallerCaption},
    {IDC_BLANK_LABEL, ROLE_SYSTEM_STATICTEXT, NAME_NONE, FACE_NONE, ALIGN_CENTRE, 0, PAGE_ALL, ""},
    // Never shown: the label keeps its place in the tab order, with a plain face.
    {IDC_WAIT_LABEL, ROLE_SYSTEM_STATICTEXT, NAME_NONE, FACE_FLAT, ALIGN_LEFT, 0, PAGE_ALL, ""},
};
const int kWizardControlCount = sizeof kWizardControls / sizeof kWizardControls[0];

// The option check boxes of the first page: the choice each makes (an
// OPTION_ value, what the installation makes of it is in the shortcut
// table) and whether it starts checked.
#define OPTION_BOX_ROW(name, id, option, top, caption, text, checked) {id, option, checked},
static const struct {
    int id;
    int option;
    int checked;
} kOptionBoxes[] = {MORIVANE_OPTION_BOXES(OPTION_BOX_ROW)};
#define OPTION_BOX_CASE(name, id, option, top, caption, text, checked) case id:

void FormatDefaultInstallFolder(char *out, size_t size, const char *windowsDir)
{
    FormatText(out, size, "%c:\\Morivane", windowsDir[0]);
}

int SplitLicenceLines(char *text, char **lines, int maxLines)
{
    int count = 0;
    char *p = text;
    while (count < maxLines) {
        char *end = p;
        while (*end != '\r' && *end != '\0')
            ++end;
        if (*end == '\0')
            break;
        *end = '\0';
        lines[count++] = p;
        p = end + 1;
        if (*p == '\n')
            ++p;
    }
    return count;
}

// The wait label is never shown; it is hidden with the buttons all the same,
// so that nothing of the wait can show while the run blocks the window.
static const int kHiddenWhileInstalling[] = {IDC_NEXT, IDC_BACK, IDCANCEL, IDC_WAIT_LABEL};

const char *WizardCaption(int id, int step)
{
    return id == IDC_NEXT && step == STEP_LICENCE ? kAgreeCaption : NULL;
}

static void ShowControl(HWND dialog, int id, int show)
{
    ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

static void ShowPage(HWND dialog, int page, int show)
{
    for (const DialogControl &control : kWizardControls)
        if (control.group == page)
            ShowControl(dialog, control.id, show);
}

static void SetBackState(HWND dialog, int shown)
{
    HWND back = GetDlgItem(dialog, IDC_BACK);
    ShowWindow(back, shown ? SW_SHOW : SW_HIDE);
    EnableWindow(back, shown);
}

// Inflates licence `id` into text[LICENCE_BUFFER_SIZE] with its NUL. A text
// of the whole buffer would leave no room for the NUL: it counts as unusable.
static int InflateLicence(WORD id, char *text)
{
    unsigned long length = LICENCE_BUFFER_SIZE - 1;
    if (InflateTextResource(AppInstance, id, (unsigned char *)text, &length) != Z_OK)
        return 0;
    text[length] = '\0';
    return 1;
}

// One licence text: 1 when it is in its control; 0 when the layout must stop.
static int LoadLicence(HWND dialog, WORD id)
{
    char *text = (char *)malloc(LICENCE_BUFFER_SIZE);
    if (text == NULL) {
        ShowMessageDialog(kOutOfMemoryText, kOutOfMemorySubText, MESSAGE_OK, MainDialog);
        return 0;
    }
    int loaded = InflateLicence(id, text);
    if (loaded && id == IDR_LICENCE_EN) {
        SendDlgItemMessageA(dialog, IDC_LICENCE_EN, WM_SETTEXT, 0, (LPARAM)text);
    } else if (loaded) {
        // An earlier load may have stopped after adding these lines.
        SendDlgItemMessageA(dialog, IDC_LICENCE_ZH, LB_RESETCONTENT, 0, 0);
        static char *lines[LICENCE_MAX_LINES];
        int count = SplitLicenceLines(text, lines, LICENCE_MAX_LINES);
        for (int i = 0; i < count; ++i)
            SendDlgItemMessageA(dialog, IDC_LICENCE_ZH, LB_ADDSTRING, 0, (LPARAM)lines[i]);
    }
    free(text);
    return loaded;
}

// A page change hides controls, maybe the one with the focus (Enter on a
// check box, Back on Back). The system then hands the focus on from one
// hidden control to the next, ending on whatever is left, such as Next. The
// focus goes to the first control of the page shown instead, as Tab would.
static void KeepFocusOnThePage(HWND dialog, HWND focusBefore)
{
    if (GetActiveWindow() != dialog || !IsChild(dialog, focusBefore) ||
        (IsWindowVisible(focusBefore) && IsWindowEnabled(focusBefore)))
        return;
    HWND first = GetNextDlgTabItem(dialog, NULL, FALSE);
    if (first != NULL)
        SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)first, TRUE);
}

void LayoutWizardPage(HWND dialog, int step)
{
    HWND focusBefore = GetFocus();
    ShowControl(dialog, IDC_ENGLISH, step == STEP_LICENCE);
    if (step == STEP_LANGUAGE) {
        ShowPage(dialog, PAGE_PATH, 0);
        ShowControl(dialog, IDC_LICENCE_EN, 0);
        ShowPage(dialog, PAGE_LANGUAGE, 1);
    } else {
        // Every other step, 3 to 98 included, shows the path page.
        ShowPage(dialog, PAGE_PATH, step != STEP_LICENCE);
        ShowPage(dialog, PAGE_LANGUAGE, 0);
    }
    if (step == STEP_LICENCE && !LicenceLoaded) {
        if (!LoadLicence(dialog, IDR_LICENCE_ZH) || !LoadLicence(dialog, IDR_LICENCE_EN))
            return;
        LicenceLoaded = 1;
    }
    ShowControl(dialog, IDC_LICENCE_ZH, 0);
    ShowControl(dialog, IDC_LICENCE_EN, 0);
    if (step == STEP_LICENCE) {
        int english = SendDlgItemMessageA(dialog, IDC_ENGLISH, BM_GETCHECK, 0, 0) == BST_CHECKED;
        ShowControl(dialog, english ? IDC_LICENCE_EN : IDC_LICENCE_ZH, 1);
    }
    // While installing (99 and up) or finished, Back keeps its state.
    if (WizardStep >= STEP_PATH && WizardStep < STEP_ACCEPTED)
        SetBackState(dialog, step != STEP_PATH);
    KeepFocusOnThePage(dialog, focusBefore);
    InvalidateRect(dialog, NULL, TRUE);
    UpdateWindow(dialog);
}

static void FillLanguageList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_COMBO);
    for (const LanguageRow &row : kLanguages) {
        if (!row.offered)
            continue;
        LRESULT item = row.value == LANGUAGE_ENGLISH
                           ? SendMessageA(list, CB_INSERTSTRING, 0, (LPARAM)row.listName)
                           : SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)row.listName);
        SendMessageA(list, CB_SETITEMDATA, (WPARAM)item, row.value);
    }
    SendMessageA(list, CB_SETCURSEL, 0, 0);
}

static void OnInitDialog(HWND dialog)
{
    SendMessageA(dialog, WM_SETICON, ICON_BIG, (LPARAM)ProductIcon);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, (LPARAM)ProductIcon);

    char windowsDir[MAX_PATH] = "C";
    GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    char folder[MAX_PATH];
    FormatDefaultInstallFolder(folder, sizeof folder, windowsDir);
    SetDlgItemTextA(dialog, IDC_PATH_EDIT, folder);

    SetBackState(dialog, 0);
    FillLanguageList(dialog);
    // The boxes are standard buttons: the procedure saved last serves all.
    for (const auto &box : kOptionBoxes) {
        CheckDlgButton(dialog, box.id, box.checked ? BST_CHECKED : BST_UNCHECKED);
        SavedButtonProc = (WNDPROC)SetWindowLongPtrA(GetDlgItem(dialog, box.id), GWLP_WNDPROC,
                                                     (LONG_PTR)CheckBoxProc);
    }
    DescribeDialog(dialog, kWizardControls, kWizardControlCount);
}

static void ReadChoices(HWND dialog, InstallChoices *choices)
{
    for (const auto &box : kOptionBoxes)
        choices->options[box.option] = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED;
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_COMBO);
    LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    choices->uiLanguage = (int)SendMessageA(list, CB_GETITEMDATA, (WPARAM)selected, 0);
}

// Browse: the folder chosen goes into the path edit, where Agree/Install
// reads it as if typed.
static void OnBrowse(HWND dialog)
{
    char folder[MAX_PATH];
    if (ChooseInstallFolder(dialog, folder))
        SetDlgItemTextA(dialog, IDC_PATH_EDIT, folder);
}

// Agree/Install: the choices are read once the folder is entered, and the
// wizard ends after the run, unless the folder cannot be used: then it
// stays where it is, every button shown.
static void OnInstall(HWND dialog)
{
    char typed[MAX_PATH];
    GetDlgItemTextA(dialog, IDC_PATH_EDIT, typed, sizeof typed);
    int folder = EnterInstallFolder(typed, MainDialog);
    if (folder != INSTALL_FOLDER_ENTERED && folder != INSTALL_FOLDER_CREATED)
        return;
    InstallChoices choices = {};
    ReadChoices(dialog, &choices);
    for (int id : kHiddenWhileInstalling) {
        HWND control = GetDlgItem(dialog, id);
        ShowWindow(control, SW_HIDE);
        UpdateWindow(control);
    }
    InstallCommand(choices, folder, MainDialog);
    WizardStep = STEP_FINISHED;
}

static void OnNext(HWND dialog)
{
    switch (WizardStep) {
    case STEP_PATH:
        WizardStep = STEP_LANGUAGE;
        LayoutWizardPage(dialog, STEP_LANGUAGE);
        break;
    case STEP_LANGUAGE:
        CheckDlgButton(dialog, IDC_ENGLISH, BST_CHECKED);
        WizardStep = STEP_LICENCE;
        LayoutWizardPage(dialog, STEP_LICENCE);
        break;
    case STEP_LICENCE:
        LayoutWizardPage(dialog, STEP_LICENCE);
        WizardStep = STEP_ACCEPTED;
        OnInstall(dialog);
        break;
    default:
        // 3 to 99: the licence was accepted; the installation runs (again).
        if (WizardStep > STEP_LICENCE)
            OnInstall(dialog);
        break;
    }
}

static void OnCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDC_NEXT:
        OnNext(dialog);
        break;
    case IDC_BACK:
        if (WizardStep > STEP_PATH) {
            --WizardStep;
            LayoutWizardPage(dialog, WizardStep);
        }
        break;
    case IDCANCEL:
        WizardStep = STEP_FINISHED;
        break;
    case IDC_BROWSE:
        OnBrowse(dialog);
        break;
    case IDC_ENGLISH:
        // The box also reports its focus (BS_NOTIFY): a layout then would
        // hide and show the Chinese licence as Tab gives it the focus, and
        // the focus would fall back to the box.
        if (code == BN_CLICKED)
            LayoutWizardPage(dialog, STEP_LICENCE);
        break;
    // An option box repaints itself with its new state.
    MORIVANE_OPTION_BOXES(OPTION_BOX_CASE)
        InvalidateRect(GetDlgItem(dialog, id), NULL, FALSE);
        break;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT *item = (MEASUREITEMSTRUCT *)lParam;
        if (item->CtlID != IDC_LICENCE_ZH)
            return FALSE;
        item->itemHeight = LICENCE_ITEM_HEIGHT;
        item->itemWidth = LICENCE_ITEM_WIDTH;
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *item = (const DRAWITEMSTRUCT *)lParam;
        if (item->CtlID == IDC_LICENCE_ZH)
            DrawLicenceItem(item, dialog);
        else
            DrawOwnerButton(item);
        return TRUE;
    }
    case WM_OWNER_CAPTION:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                          (LONG_PTR)WizardCaption((int)wParam, WizardStep));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    }
    return FALSE;
}
