// Owner-drawn buttons, labels, licence lines and option check boxes (see
// owner_draw.h). Captions come from the dialogs' descriptions, GBK texts of
// the installer's own table, never from the dialog templates.
#include "render/owner_draw.h"


#include "base/format.h"
#include "base/globals.h"
#include "render/gbk_text.h"
#include "resources/resource_ids.h"


WNDPROC SavedButtonProc;

enum {
    BUTTON_TEXT_MAX = 79,
    CHECKBOX_TEXT_MAX = 126,
    MESSAGE_TEXT_MAX = MESSAGE_TEXT_SIZE - 1,
    // One byte past the longest text, to see whether its last character is
    // whole, and the NUL.
    CAPTION_BUFFER = MESSAGE_TEXT_MAX + 2
};

POINT CaptionOrigin(const RECT &item, int width, int align, int selected)
{
    POINT origin;
    origin.x = align == ALIGN_LEFT ? item.left
                                   : item.left + (item.right - item.left - width) / 2;
    origin.y = item.top + (item.bottom - item.top - 16) / 2;
    if (selected) {
        origin.x += 2;
        origin.y += 1;
    }
    return origin;
}

RECT ButtonFocusRect(const RECT &item)
{
    int dx = (item.right - item.left) / 10;
    int dy = (item.bottom - item.top) / 8;
    RECT focus = {item.left + dx, item.top + dy, item.right - dx, item.bottom - dy};
    return focus;
}

// Copies the caption for `window` into caption[CAPTION_BUFFER]: the table's
// text, or at most `windowTextMax` bytes of the window text, never ending in
// half a double-byte character.
static void CopyCaption(char *caption, const char *tableText, HWND window, int windowTextMax)
{
    caption[0] = '\0';
    if (tableText != NULL) {
        FormatText(caption, CAPTION_BUFFER, "%s", tableText);
    } else if (window != NULL) {
        GetWindowTextA(window, caption, windowTextMax + 2);
        caption[FitTextLength(caption, windowTextMax)] = '\0';
    }
}

static void DrawBevel(HDC dc, const RECT &r, int defaultFrame, int selected)
{
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN penA = selected ? dark : light;  // top and left
    HPEN penB = selected ? light : dark;  // bottom and right
    HGDIOBJ previous = SelectObject(dc, penA);
    for (int i = 1; i <= 2; ++i) {
        MoveToEx(dc, r.left + i, r.bottom - i - 1, NULL);
        LineTo(dc, r.left + i, r.top + i);
        LineTo(dc, r.right - i - 1, r.top + i);
        SelectObject(dc, penB);
        LineTo(dc, r.right - i - 1, r.bottom - i - 1);
        LineTo(dc, r.left + i, r.bottom - i - 1);
        SelectObject(dc, penA);
    }
    if (defaultFrame) {
        // The default button's black frame, whether it has the focus or not.
        SelectObject(dc, GetStockObject(BLACK_PEN));
        MoveToEx(dc, r.left, r.bottom - 1, NULL);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left, r.bottom - 1);
        MoveToEx(dc, r.left + 1, r.bottom - 2, NULL);
        LineTo(dc, r.right - 2, r.bottom - 2);
        LineTo(dc, r.right - 2, r.top + 1);
    } else {
        SelectObject(dc, penB);
        MoveToEx(dc, r.left + 1, r.bottom - 1, NULL);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.right - 1, r.top);
    }
    SelectObject(dc, previous);
    DeleteObject(light);
    DeleteObject(dark);
}

void DrawOwnerButton(const DRAWITEMSTRUCT *item, const char *caption)
{
    if (item->CtlType != ODT_BUTTON)
        return;
    // A control described so paints nothing at all, not even its face or focus.
    static const DialogControl kUndescribed = {0, ROLE_NONE, NAME_NONE, FACE_3D, ALIGN_CENTRE,
                                               0, 0, NULL};
    const DialogControl *row = DescribedControl(item->hwndItem);
    if (row == NULL)
        row = &kUndescribed;
    if (row->face == FACE_NONE)
        return;
    HDC dc = item->hDC;
    const RECT &r = item->rcItem;
    COLORREF previousText = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    COLORREF previousBackground = SetBkColor(dc, GetSysColor(COLOR_BTNFACE));

    // Every call paints the whole item, a focus change (ODA_FOCUS) too: the
    // focus rectangle is XORed, so drawing it alone would leave it standing
    // on a button that has lost the focus.
    int selected = (item->itemState & ODS_SELECTED) != 0;
    char text[CAPTION_BUFFER];
    CopyCaption(text, caption ? caption : DescribedCaption(item->hwndItem), item->hwndItem,
                row->flags & CONTROL_LONG_TEXT ? MESSAGE_TEXT_MAX : BUTTON_TEXT_MAX);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (row->face == FACE_3D)
        DrawBevel(dc, r, row->flags & CONTROL_DEFAULT_FRAME, selected);
    SIZE size = MeasureGbkText(dc, text);
    POINT origin = CaptionOrigin(r, size.cx, row->align, selected);
    DrawGbkText(dc, origin.x, origin.y, text);
    if (item->itemState & ODS_FOCUS) {
        RECT focus = ButtonFocusRect(r);
        DrawFocusRect(dc, &focus);
    }
    SetTextColor(dc, previousText);
    SetBkColor(dc, previousBackground);
}

void DrawLicenceItem(const DRAWITEMSTRUCT *item, HWND)
{
    HDC dc = item->hDC;
    int saved = SaveDC(dc);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    FillRect(dc, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));

    HWND list = item->hwndItem;
    UINT count = (UINT)SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (item->itemID < count) {
        // LB_GETTEXT takes no buffer size: a line that would not fit is skipped.
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, item->itemID, 0);
        char line[LICENCE_LINE_BUFFER];
        if (length >= 0 && length < LICENCE_LINE_BUFFER &&
            SendMessageA(list, LB_GETTEXT, item->itemID, (LPARAM)line) != LB_ERR) {
            line[LICENCE_LINE_BUFFER - 1] = '\0';
            DrawGbkText(dc, item->rcItem.left + 2, item->rcItem.top + 2, line);
        }
        // The whole item is painted at every call, so the rectangle of a
        // line that lost the focus is gone with it.
        if (item->itemState & ODS_FOCUS)
            DrawFocusRect(dc, &item->rcItem);
    }
    RestoreDC(dc, saved);
}

RECT CheckBoxSquare(const RECT &client, UINT buttonType, UINT *frameState)
{
    RECT r = {client.left - 2, client.top - 2, client.right + 2, client.bottom + 2};
    int h = r.bottom - r.top;
    RECT box = {r.left, r.top, r.left + h, r.bottom};
    if (buttonType == BS_CHECKBOX || buttonType == BS_AUTOCHECKBOX) {
        InflateRect(&box, -(h / 4), -(h / 4));
        box.top -= 1;
        box.left -= h / 8;
        box.right -= h / 7;
        box.bottom -= 3;
        *frameState = DFCS_BUTTONCHECK;
    } else {
        InflateRect(&box, -(h / 12), -(h / 12));
        box.left -= 1;
        box.top += 1;
        box.right -= h / 5;
        box.bottom -= 2;
        *frameState = (buttonType == BS_RADIOBUTTON || buttonType == BS_AUTORADIOBUTTON)
                          ? DFCS_BUTTONRADIO
                          : DFCS_BUTTONCHECK;
    }
    return box;
}

void PaintCheckBox(HWND checkBox, HDC dc)
{
    int checked = SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    RECT client;
    GetClientRect(checkBox, &client);
    RECT r = client;
    InflateRect(&r, 2, 2);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));

    UINT state;
    UINT type = (UINT)GetWindowLongA(checkBox, GWL_STYLE) & 0xFF;
    RECT box = CheckBoxSquare(client, type, &state);
    if (checked)
        state |= DFCS_CHECKED;
    if (!IsWindowEnabled(checkBox))
        state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);

    char caption[CAPTION_BUFFER];
    const DialogControl *row = DescribedControl(checkBox);
    CopyCaption(caption, row != NULL ? row->caption : NULL, checkBox, CHECKBOX_TEXT_MAX);
    SIZE size = MeasureGbkText(dc, caption);
    int x = box.right + (box.right - box.left);
    int y = r.top + 3;
    COLORREF previousText = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    COLORREF previousBackground = SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    DrawGbkText(dc, x, y, caption);
    if (GetFocus() == checkBox) {
        RECT focus = {x - 1, y - 1, x + size.cx + 3, y + 18};
        DrawFocusRect(dc, &focus);
    }
    SetTextColor(dc, previousText);
    SetBkColor(dc, previousBackground);
}

LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintCheckBox(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_LBUTTONDOWN)
        InvalidateRect(window, NULL, TRUE);
    LRESULT result = CallWindowProcA(SavedButtonProc, window, message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case BM_SETSTATE:
    case BM_SETCHECK:
        // The button draws these changes itself, straight away and in its
        // own layout (a focus frame around its template text, its own box):
        // paint ours over them at once, focus frame included.
        RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
    }
    return result;
}
