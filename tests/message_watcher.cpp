// Answering message dialogs from a thread timer (see message_watcher.h): the
// dialog's modal loop dispatches the timer while it waits for the user.
#include "message_watcher.h"

#include "message/message_dialog.h"
#include "render/gbk_text.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"
#include "test_support.h"

static MessageWatcher *CurrentWatcher;

static BOOL CALLBACK MatchMessageDialog(HWND window, LPARAM found)
{
    char caption[64];
    GetWindowTextA(window, caption, sizeof caption);
    if (!IsWindowVisible(window) || std::string(caption) != MESSAGE_CAPTION)
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

HWND FindThreadMessageDialog(void)
{
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), MatchMessageDialog, (LPARAM)&dialog);
    return dialog;
}

// Whether the main text control shows `text` whole: its pixels against the
// text drawn centred on the face in the control's font. Timers come after
// painting, so the control has been drawn by now.
static bool DrawnWhole(HWND control, const char *text)
{
    RECT r;
    GetClientRect(control, &r);
    Canvas shown, expected;
    bool same = CreateCanvas(&shown, r.right, r.bottom, kWhite) &&
                CreateCanvas(&expected, r.right, r.bottom, kWhite);
    if (same) {
        HDC dc = GetDC(control);
        BitBlt(shown.dc, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        ReleaseDC(control, dc);
        FillRect(expected.dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        SelectObject(expected.dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
        SetTextColor(expected.dc, GetSysColor(COLOR_BTNTEXT));
        POINT at = CaptionOrigin(r, MeasureGbkText(expected.dc, text).cx, ALIGN_CENTRE, 0);
        DrawGbkText(expected.dc, at.x, at.y, text);
        for (int y = 0; y < r.bottom && same; ++y)
            for (int x = 0; x < r.right && same; ++x)
                same = PixelAt(shown, x, y) == PixelAt(expected, x, y);
    }
    DestroyCanvas(&shown);
    DestroyCanvas(&expected);
    return same;
}

static void CALLBACK WatchMessages(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindThreadMessageDialog();
    if (dialog == NULL)
        return;
    char text[MESSAGE_TEXT_SIZE], sub[256];
    GetDlgItemTextA(dialog, IDC_MSG_TEXT, text, sizeof text);
    GetDlgItemTextA(dialog, IDC_MSG_SUBTEXT, sub, sizeof sub);
    bool whole = DrawnWhole(GetDlgItem(dialog, IDC_MSG_TEXT), text);
    CurrentWatcher->seen.push_back({text, sub, whole});
    SendMessageA(dialog, WM_COMMAND, CurrentWatcher->answer, 0);
}

MessageWatcher::MessageWatcher(int answer) : answer(answer)
{
    CurrentWatcher = this;
    timer = SetTimer(NULL, 0, 30, WatchMessages);
}

MessageWatcher::~MessageWatcher()
{
    KillTimer(NULL, timer);
    CurrentWatcher = nullptr;
}
