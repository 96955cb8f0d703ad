// Drives the built MorivaneSetup.exe from another Windows process, the way a
// user would: finds its windows, reads its controls, presses its buttons and
// keys through its own message queue, and collects its exit code.
#ifndef MORIVANE_INSTALLER_DRIVER_H
#define MORIVANE_INSTALLER_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>

#include "test_support.h"

// Full Windows path of a file of the build, given relative to the tests'
// working folder (build/test-output), e.g. "..\\MorivaneVerify.exe".
std::string BuiltFile(const char *relative);
// The built installer, one folder above the tests' own.
std::string InstallerPath();

class InstallerRun {
public:
    ~InstallerRun();
    // Starts `exe` in `workingDir` (empty: the driver's own), with one
    // environment variable ("NAME=value") set for it and arguments when given.
    bool Start(const std::string &exe, const std::string &workingDir = "",
               const std::string &variable = "", const std::string &arguments = "");
    // The visible top-level window of this process with `caption`, or null.
    HWND WaitForWindow(const char *caption, int timeoutMs = 20000);
    HWND WaitForWizard() { return wizard = WaitForWindow("Morivane Installer"); }
    // The exit code, or -1 when the process did not end in time (it is ended).
    int WaitForExit(int timeoutMs = 15000);
    // Like WaitForExit, watching all the while for a visible window of the
    // process; *windowSeen tells whether one appeared.
    int WaitForExitWatching(bool *windowSeen, int timeoutMs = 15000);
    DWORD ProcessId() const { return info.dwProcessId; }

    HWND wizard = NULL;

private:
    PROCESS_INFORMATION info = {};
    bool started = false;
};

// A handle to wait on for the end of the process that owns `window` (close
// it), or null.
HANDLE OpenWindowProcess(HWND window);

// A visible top-level window with `caption` in any process, or null.
HWND WaitForAnyWindow(const char *caption, int timeoutMs = 20000);

// A copy of the built installer in a scratch folder whose resource of `type`
// and `id` (neutral language) holds `data`; empty on failure.
std::string CopyWithReplacedResource(LPCSTR type, WORD id, const void *data, DWORD size);
// The same for a "TEXT" resource holding bytes that do not inflate.
std::string CopyWithDamagedResource(WORD id);

// Polls `done` every 20 ms until it holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 5000);

// Returns once every message posted to `edit`'s thread before the call has
// been handled: a marker posted behind them is waited for. The marker moves
// the edit control's text limit by one, between 30000 and 30001.
bool SettlePostedMessages(HWND edit);
// Returns once `window`'s thread is back in its message loop, having handled
// whatever it was doing.
bool RoundTrip(HWND window);

HWND Control(HWND dialog, int id);
bool IsShown(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
int CheckState(HWND dialog, int id);
std::string WindowText(HWND window);
// Items of a combo box or list box of another process (read as UTF-16: the A
// messages return UTF-16 across processes under Wine).
std::string ComboItem(HWND combo, int index);

// The control that has the keyboard focus in `window`'s thread (or `window`).
HWND FocusOf(HWND window);
// Presses a button through the target's queue.
void Click(HWND dialog, int id);
// Clicks every option box of the first page (resources/resource_ids.h) into
// `checked` and waits until each shows it.
bool SetEveryOption(HWND wizard, bool checked);
// Gives `id` the focus and posts Enter to it.
void PressEnterOn(HWND dialog, int id);
// Keys as a keyboard gives them, posted to whatever has the focus in
// `window`'s thread: a key down and up (the target's own loop translates
// it), or the characters of a text.
void PressKey(HWND window, WPARAM vk);
void TypeText(HWND window, const std::string &text);

// What the window shows on screen, and a BMP of it in the working folder.
bool CaptureWindow(HWND window, Canvas *canvas);
bool SaveWindowPicture(HWND window, const char *name);
// Whether the atlas glyph of `code` appears, ink for ink, in the picture:
// pixels of colour `ink` exactly where the glyph has ink.
bool ShowsGlyph(const Canvas &canvas, unsigned short code, uint32_t ink = kBlack);

#endif
