// Answering message dialogs from a thread timer (see message_watcher.h): the
// dialog's modal loop dispatches the timer while it waits for the user.
#include "message_watcher.h"

#include "resources/resource_ids.h"

static MessageWatcher *CurrentWatcher;

static BOOL CALLBACK MatchMessageDialog(HWND window, LPARAM found)
{
    char caption[64];
    GetWindowTextA(window, caption, sizeof caption);
    if (!IsWindowVisible(window) || std::string(caption) != "Dorvinel Install Message")
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

static void CALLBACK WatchMessages(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindThreadMessageDialog();
    if (dialog == NULL)
        return;
    char text[256], sub[256];
    GetDlgItemTextA(dialog, IDC_MSG_TEXT, text, sizeof text);
    GetDlgItemTextA(dialog, IDC_MSG_SUBTEXT, sub, sizeof sub);
    CurrentWatcher->seen.push_back({text, sub});
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
