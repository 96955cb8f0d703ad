// The message dialog (see message_dialog.h): layout formulas as pure
// functions over measured values, and the dialog procedure that applies them.
#include "message/message_dialog.h"

#include <string.h>

#include "base/format.h"
#include "base/globals.h"
#include "render/accessible.h"
#include "render/gbk_text.h"
#include "render/owner_draw.h"
#include "texts.h"
#include "resources/resource_ids.h"

int MessageDialogMode;
char MessageSubText[MESSAGE_SUBTEXT_SIZE];

static int Larger(int a, int b) { return a > b ? a : b; }

MessageWindowPlacement PlaceMessageWindow(const MessageMetrics &m)
{
    MessageWindowPlacement p;
    int bw = m.buttonWidth, bh = m.buttonHeight;
    p.minWidth = m.mode == MESSAGE_OK ? 2 * bw : 3 * bw;
    p.width = Larger(m.mainWidth, m.subWidth) + 2 * m.dlgFrameX;
    if (m.mainBytes < MESSAGE_SHORT_TEXT_BYTES)
        p.width += 2 * bh;
    p.height = 3 * (m.mainHeight + bh) + 2 * m.subHeight;
    // Centred by the text-derived size, not by the final outer size.
    p.window.left = (m.screenX - p.width) / 2;
    p.window.top = (m.screenY - p.height) / 2;
    p.window.right = p.window.left + Larger(p.width, p.minWidth);
    p.window.bottom = p.window.top + p.height + m.captionY;
    return p;
}

MessageControlLayout LayOutMessageControls(const MessageMetrics &m,
                                           const MessageWindowPlacement &p,
                                           const RECT &client)
{
    MessageControlLayout l;
    int bw = m.buttonWidth, bh = m.buttonHeight;
    // A window widened to its minimum centres the buttons on what it shows;
    // centring on the narrower text width would push them off to the left.
    int span = p.width < p.minWidth ? client.right : p.width;
    if (m.mode == MESSAGE_OK) {
        l.firstButton = IDOK;
        l.secondButton = 0;
        l.first.x = (span - bw) / 2;
        l.first.y = p.height - 2 * bh;
        l.second = l.first;
    } else {
        l.firstButton = m.mode == MESSAGE_YES_NO ? IDYES : IDOK;
        l.secondButton = m.mode == MESSAGE_YES_NO ? IDNO : IDCANCEL;
        int gap = bw / MESSAGE_BUTTON_GAP_DIVISOR;
        l.first.x = (span - 2 * bw - gap) / 2;
        l.first.y = p.height - 3 * bh / 2;
        l.second.x = l.first.x + bw + gap;
        l.second.y = l.first.y;
    }
    int h1 = m.mainHeight;
    l.mainText = {client.left, 2 * h1 / 3, client.right, 3 * h1};
    l.subText = {client.left, 3 * h1 + 2 * h1 / 3 + 5, client.right, 2 * m.subHeight};
    return l;
}

int ShowMessageDialog(const char *mainText, const char *subText, int mode, HWND owner)
{
    MessageDialogMode = mode;
    FormatText(MessageSubText, sizeof MessageSubText, "%s", subText ? subText : "");
    return (int)DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_MESSAGE), owner,
                                MessageDialogProc, (LPARAM)mainText);
}

int AskAboutFolder(const char *mainFormat, const char *subFormat, const char *subText,
                   const char *folder, HWND owner)
{
    // Room for the longest path and words: the dialog cuts what it cannot show.
    char question[MAX_PATH + 160];
    char sub[MESSAGE_SUBTEXT_SIZE];
    if (!FormatText(question, sizeof question, mainFormat, folder))
        return 0;
    if (!FormatText(sub, sizeof sub, subFormat, folder))
        FormatText(sub, sizeof sub, "%s", subText);
    return ShowMessageDialog(question, sub, MESSAGE_YES_NO, owner) == IDYES;
}

// Measures the texts on the dialog's own device context, as it comes.
static void MeasureTexts(HWND dialog, const char *mainText, MessageMetrics *m)
{
    HDC dc = GetDC(dialog);
    SIZE main = MeasureGbkText(dc, mainText);
    m->mainWidth = main.cx;
    m->mainHeight = main.cy;
    m->subWidth = m->subHeight = 0;
    SIZE sub;
    if (MessageSubText[0] != '\0' &&
        GetTextExtentPointA(dc, MessageSubText, (int)strlen(MessageSubText), &sub)) {
        m->subWidth = sub.cx;
        m->subHeight = sub.cy;
    }
    ReleaseDC(dialog, dc);
}

void MeasureMessageDialog(HWND dialog, const char *mainText, MessageMetrics *m)
{
    m->mode = MessageDialogMode;
    m->mainBytes = (int)strlen(mainText);
    MeasureTexts(dialog, mainText, m);
    HWND first = GetDlgItem(dialog, MessageDialogMode == MESSAGE_YES_NO ? IDYES : IDOK);
    RECT button = {0, 0, MESSAGE_MISSING_BUTTON_WIDTH, MESSAGE_MISSING_BUTTON_HEIGHT};
    if (first != NULL)
        GetClientRect(first, &button);
    m->buttonWidth = button.right;
    m->buttonHeight = button.bottom;
    m->dlgFrameX = GetSystemMetrics(SM_CXDLGFRAME);
    m->screenX = GetSystemMetrics(SM_CXSCREEN);
    m->screenY = GetSystemMetrics(SM_CYSCREEN);
    m->captionY = GetSystemMetrics(SM_CYCAPTION);
}

static void MoveControl(HWND control, const ControlBox &box)
{
    MoveWindow(control, box.x, box.y, box.width, box.height, TRUE);
}

static void PlaceButton(HWND dialog, int id, POINT at, int width, int height)
{
    HWND button = GetDlgItem(dialog, id);
    ShowWindow(button, SW_SHOW);
    MoveControl(button, ControlBox{at.x, at.y, width, height});
}

// The main text is named by its GBK window text, as drawn.
const DialogControl kMessageControls[] = {
    {IDOK, ROLE_SYSTEM_PUSHBUTTON, IDOK, FACE_3D, ALIGN_CENTRE, 0, 0, kOkCaption},
    {IDYES, ROLE_SYSTEM_PUSHBUTTON, IDYES, FACE_3D, ALIGN_CENTRE, 0, 0, kYesCaption},
    {IDNO, ROLE_SYSTEM_PUSHBUTTON, IDNO, FACE_3D, ALIGN_CENTRE, 0, 0, kNoCaption},
    {IDCANCEL, ROLE_SYSTEM_PUSHBUTTON, IDCANCEL, FACE_3D, ALIGN_CENTRE, 0, 0, kCancelCaption},
    // The Chinese main text, drawn from the window text the dialog sets.
    {IDC_MSG_TEXT, ROLE_SYSTEM_STATICTEXT, IDC_MSG_TEXT, FACE_FLAT, ALIGN_CENTRE,
     CONTROL_LONG_TEXT, 0, NULL},
    {IDC_MSG_SUBTEXT, ROLE_SYSTEM_STATICTEXT, NAME_SYSTEM_TEXT, FACE_3D, ALIGN_CENTRE, 0, 0, NULL},
};
const int kMessageControlCount = sizeof kMessageControls / sizeof kMessageControls[0];

static void OnMessageInit(HWND dialog, const char *givenText)
{
    DescribeDialog(dialog, kMessageControls, kMessageControlCount);
    // The painter draws the control's window text up to MESSAGE_TEXT_SIZE
    // bytes: the dialog is sized to exactly what it will draw.
    char mainText[MESSAGE_TEXT_SIZE];
    FormatText(mainText, sizeof mainText, "%s", givenText);
    MessageMetrics m;
    MeasureMessageDialog(dialog, mainText, &m);

    MessageWindowPlacement p = PlaceMessageWindow(m);
    SetWindowPos(dialog, NULL, p.window.left, p.window.top, p.window.right - p.window.left,
                 p.window.bottom - p.window.top, SWP_NOZORDER);
    RECT client;
    GetClientRect(dialog, &client);
    MessageControlLayout l = LayOutMessageControls(m, p, client);

    PlaceButton(dialog, l.firstButton, l.first, m.buttonWidth, m.buttonHeight);
    if (l.secondButton != 0)
        PlaceButton(dialog, l.secondButton, l.second, m.buttonWidth, m.buttonHeight);

    HWND text = GetDlgItem(dialog, IDC_MSG_TEXT);
    SetWindowTextA(text, mainText);
    MoveControl(text, l.mainText);
    HWND sub = GetDlgItem(dialog, IDC_MSG_SUBTEXT);
    if (MessageSubText[0] != '\0') {
        SetWindowTextA(sub, MessageSubText);
        MoveControl(sub, l.subText);
    } else {
        ShowWindow(sub, SW_HIDE);
    }
}

static int IsAnswerButton(int id)
{
    return id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO;
}

// Enter reaches the dialog as IDOK whichever button has the focus: an
// owner-drawn button cannot be the default push button that the dialog
// manager would press instead. A button clicked, with the mouse or by
// keyboard, has the focus by then, so the focus tells which was meant; with
// none, the first button shown (OK, or Yes) is.
static int ButtonMeantByOk(HWND dialog)
{
    HWND focus = GetFocus();
    if (focus != NULL && GetParent(focus) == dialog && IsWindowVisible(focus) &&
        IsAnswerButton(GetDlgCtrlID(focus)))
        return GetDlgCtrlID(focus);
    return IsWindowVisible(GetDlgItem(dialog, IDYES)) ? IDYES : IDOK;
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnMessageInit(dialog, (const char *)lParam);
        return TRUE;
    case WM_DRAWITEM:
        DrawOwnerButton((const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id == IDOK)
            id = ButtonMeantByOk(dialog);
        if (IsAnswerButton(id))
            EndDialog(dialog, id);
        return FALSE;
    }
    }
    return FALSE;
}
