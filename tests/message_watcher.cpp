// Answering message dialogs from a thread timer (see message_watcher.h): the
// dialog's modal loop dispatches the timer while it waits for the user.
#include "message_watcher.h"

#include "resources/resource_ids.h"

static MessageWatcher *CurrentWatcher;

static BOOL CALLBACK AnswerDialog(HWND window, LPARAM)
{
    char caption[64];
    GetWindowTextA(window, caption, sizeof caption);
    if (!IsWindowVisible(window) || std::string(caption) != "Dorvinel Install Message")
        return TRUE;
    char text[256], sub[256];
    GetDlgItemTextA(window, IDC_MSG_TEXT, text, sizeof text);
    GetDlgItemTextA(window, IDC_MSG_SUBTEXT, sub, sizeof sub);
    CurrentWatcher->seen.push_back({text, sub});
    SendMessageA(window, WM_COMMAND, CurrentWatcher->answer, 0);
    return FALSE;
}

static void CALLBACK WatchMessages(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerDialog, 0);
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
