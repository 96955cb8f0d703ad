// Driving the built installer from another process (see installer_driver.h).
#include "installer_driver.h"

#include <string.h>
#include <vector>

#include "render/glyph_atlas.h"
#include "resources/resource_ids.h"

std::string BuiltFile(const char *relative)
{
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(relative, sizeof full, full, NULL);
    return length > 0 && length < sizeof full ? std::string(full) : std::string();
}

std::string InstallerPath() { return BuiltFile("..\\MorivaneSetup.exe"); }

InstallerRun::~InstallerRun()
{
    if (!started)
        return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

// The driver's environment block with `variable` ("NAME=value") set.
static std::vector<char> EnvironmentWith(const std::string &variable)
{
    std::string name = variable.substr(0, variable.find('=') + 1);
    std::vector<char> block;
    char *strings = GetEnvironmentStringsA();
    for (const char *p = strings; *p; p += strlen(p) + 1)
        if (_strnicmp(p, name.c_str(), name.size()) != 0)
            block.insert(block.end(), p, p + strlen(p) + 1);
    FreeEnvironmentStringsA(strings);
    block.insert(block.end(), variable.begin(), variable.end());
    block.push_back('\0');
    block.push_back('\0');
    return block;
}

bool InstallerRun::Start(const std::string &exe, const std::string &workingDir,
                         const std::string &variable, const std::string &arguments)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + exe + "\"";
    if (!arguments.empty())
        command += " " + arguments;
    std::vector<char> environment;
    if (!variable.empty())
        environment = EnvironmentWith(variable);
    started = CreateProcessA(exe.c_str(), &command[0], NULL, NULL, FALSE, 0,
                             environment.empty() ? NULL : environment.data(),
                             workingDir.empty() ? NULL : workingDir.c_str(), &startup,
                             &info) != 0;
    return started;
}

struct WindowSearch {
    DWORD processId;
    const char *caption;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    if (search->caption != NULL && WindowText(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND InstallerRun::WaitForWindow(const char *caption, int timeoutMs)
{
    WindowSearch search = {info.dwProcessId, caption, NULL};
    WaitUntil([&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != NULL;
    }, timeoutMs);
    return search.found;
}

HANDLE OpenWindowProcess(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id != 0 ? OpenProcess(SYNCHRONIZE, FALSE, id) : NULL;
}

HWND WaitForAnyWindow(const char *caption, int timeoutMs)
{
    HWND found = NULL;
    WaitUntil([&] {
        found = FindWindowA(NULL, caption);
        return found != NULL && IsWindowVisible(found);
    }, timeoutMs);
    return found != NULL && IsWindowVisible(found) ? found : NULL;
}

int InstallerRun::WaitForExit(int timeoutMs)
{
    if (!started)
        return -1;
    if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return (int)code;
}

std::string CopyWithReplacedResource(LPCSTR type, WORD id, const void *data, DWORD size)
{
    std::string folder = MakeScratchFolder("damaged");
    std::string copy = folder + "\\MorivaneSetup.exe";
    if (folder.empty() || !CopyFileA(InstallerPath().c_str(), copy.c_str(), FALSE))
        return std::string();
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    if (update == NULL ||
        !UpdateResourceA(update, type, MAKEINTRESOURCEA(id),
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), (void *)data, size) ||
        !EndUpdateResourceA(update, FALSE))
        return std::string();
    return copy;
}

std::string CopyWithDamagedResource(WORD id)
{
    const char garbage[] = "this is not a zlib stream";
    return CopyWithReplacedResource("TEXT", id, garbage, sizeof garbage);
}

int InstallerRun::WaitForExitWatching(bool *windowSeen, int timeoutMs)
{
    *windowSeen = false;
    DWORD start = GetTickCount();
    while (started && WaitForSingleObject(info.hProcess, 5) == WAIT_TIMEOUT &&
           (int)(GetTickCount() - start) < timeoutMs) {
        WindowSearch search = {info.dwProcessId, NULL, NULL};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        *windowSeen = *windowSeen || search.found != NULL;
    }
    return WaitForExit(0);
}

bool WaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if ((int)(GetTickCount() - start) > timeoutMs)
            return false;
        Sleep(20);
    }
}

bool SettlePostedMessages(HWND edit)
{
    LRESULT limit = SendMessageA(edit, EM_GETLIMITTEXT, 0, 0) == 30000 ? 30001 : 30000;
    return PostMessageA(edit, EM_SETLIMITTEXT, (WPARAM)limit, 0) &&
           WaitUntil([&] { return SendMessageA(edit, EM_GETLIMITTEXT, 0, 0) == limit; });
}

bool RoundTrip(HWND window)
{
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, NULL) != 0;
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

bool IsShown(HWND dialog, int id) { return IsWindowVisible(Control(dialog, id)) != 0; }

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(Control(dialog, id)) != 0; }

int CheckState(HWND dialog, int id)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(Control(dialog, id), BM_GETCHECK, 0, 0, SMTO_BLOCK, 5000, &state);
    return (int)state;
}

std::string WindowText(HWND window)
{
    char text[512] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_BLOCK, 5000, &copied);
    return text;
}

std::string ComboItem(HWND combo, int index)
{
    WCHAR wide[256] = L"";
    SendMessageW(combo, CB_GETLBTEXT, index, (LPARAM)wide);
    char text[512];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
    return text;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) && info.hwndFocus)
        return info.hwndFocus;
    return window;
}

void Click(HWND dialog, int id) { PostMessageA(Control(dialog, id), BM_CLICK, 0, 0); }

#define OPTION_BOX_ID(name, id, option, top, caption, text, checked) id,
static const int kOptionBoxIds[] = {MORIVANE_OPTION_BOXES(OPTION_BOX_ID)};

bool SetEveryOption(HWND wizard, bool checked)
{
    int wanted = checked ? BST_CHECKED : BST_UNCHECKED;
    for (int id : kOptionBoxIds)
        if (CheckState(wizard, id) != wanted)
            Click(wizard, id);
    return WaitUntil([&] {
        for (int id : kOptionBoxIds)
            if (CheckState(wizard, id) != wanted)
                return false;
        return true;
    });
}

void PressEnterOn(HWND dialog, int id)
{
    SendMessageTimeoutA(dialog, WM_NEXTDLGCTL, (WPARAM)Control(dialog, id), TRUE, SMTO_BLOCK,
                        5000, NULL);
    PostMessageA(Control(dialog, id), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(Control(dialog, id), WM_KEYUP, VK_RETURN, 0xC01C0001);
}

void PressKey(HWND window, WPARAM vk)
{
    HWND focus = FocusOf(window);
    LPARAM scan = (LPARAM)MapVirtualKeyA((UINT)vk, 0) << 16;
    PostMessageA(focus, WM_KEYDOWN, vk, scan | 1);
    PostMessageA(focus, WM_KEYUP, vk, scan | 0xC0000001);
}

void TypeText(HWND window, const std::string &text)
{
    HWND focus = FocusOf(window);
    for (unsigned char c : text)
        PostMessageA(focus, WM_CHAR, c, 1);
}

bool CaptureWindow(HWND window, Canvas *canvas)
{
    RECT r;
    if (!GetWindowRect(window, &r) || !CreateCanvas(canvas, r.right - r.left, r.bottom - r.top, kWhite))
        return false;
    // Have the target paint now (its thread answers WM_PAINT as a sent
    // message), then read the screen until two readings agree: what the
    // target drew reaches the screen a moment after it drew it.
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RoundTrip(window);
    size_t count = (size_t)canvas->width * canvas->height;
    std::vector<uint32_t> previous;
    HDC screen = GetDC(NULL);
    bool stable = false;
    for (int reading = 0; reading < 100 && !stable; ++reading) {
        if (reading > 0)
            Sleep(20);
        if (!BitBlt(canvas->dc, 0, 0, canvas->width, canvas->height, screen, r.left, r.top,
                    SRCCOPY))
            break;
        GdiFlush();
        stable = !previous.empty() &&
                 memcmp(previous.data(), canvas->pixels, count * sizeof(uint32_t)) == 0;
        previous.assign(canvas->pixels, canvas->pixels + count);
    }
    ReleaseDC(NULL, screen);
    return stable;
}

bool SaveWindowPicture(HWND window, const char *name)
{
    Canvas canvas;
    bool saved = CaptureWindow(window, &canvas) && SaveCanvasBmp(canvas, name);
    DestroyCanvas(&canvas);
    return saved;
}

bool ShowsGlyph(const Canvas &canvas, unsigned short code, uint32_t ink)
{
    static std::vector<unsigned char> atlas =
        InflatedResource(GetModuleHandleA(NULL), IDR_GLYPH_ATLAS, ATLAS_BUFFER_SIZE);
    GlyphCell cell = LookupGlyph(code);
    bool glyph[16][16];
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            glyph[y][x] = AtlasInk(atlas, cell.page, cell.x + x, cell.y + y);
    GdiFlush();
    for (int oy = 0; oy + 16 <= canvas.height; ++oy) {
        for (int ox = 0; ox + 16 <= canvas.width; ++ox) {
            bool match = true;
            for (int y = 0; y < 16 && match; ++y)
                for (int x = 0; x < 16 && match; ++x)
                    match = glyph[y][x] == ((canvas.pixels[(oy + y) * canvas.width + ox + x] &
                                             0xFFFFFF) == ink);
            if (match)
                return true;
        }
    }
    return false;
}
