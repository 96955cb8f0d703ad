// Every failure point of an upgrade over an earlier installation. The run's
// file-system calls are counted through this program's own import table
// (the installer code linked in calls kernel32 through it; nothing changes in
// the shipped installer); then each call in turn fails in this process, or
// ends a child process running the same upgrade, and the folder must hold
// one whole installation, the earlier or the new, and never lose a file.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <map>
#include <string>
#include <vector>

#include "base/globals.h"
#include "install/install_run.h"
#include "install/install_state.h"
#include "install/payload_table.h"
#include "message_watcher.h"
#include "test_support.h"

namespace {

const UINT kKilled = 77, kNotReached = 78;

// The armed run: calls counted, the calls that fail and the one that ends
// the process. Counting stops at the first path outside InstallDir (the
// shortcuts, whose failures open messages and touch no installed file).
struct ArmedRun {
    int armed, count, killAt, failAt[2];
} Run;
std::vector<std::string> Calls;         // "function path" of each counted call
std::map<HANDLE, std::string> Handles;  // paths of the handles the run opened

int InFolder(const char *path)
{
    size_t length = strlen(InstallDir);
    return _strnicmp(path, InstallDir, length) == 0 && (path[length] == '\\' || !path[length]);
}

// Counts one call; 1 when it is to fail, with `error` as its last error.
int Point(const char *function, const char *path, DWORD error)
{
    if (!Run.armed || (path != NULL && !InFolder(path) && (Run.armed = 0) == 0))
        return 0;
    Calls.push_back(std::string(function) + " " + (path ? path : "?"));
    if (++Run.count == Run.killAt)
        TerminateProcess(GetCurrentProcess(), kKilled);
    if (Run.count != Run.failAt[0] && Run.count != Run.failAt[1])
        return 0;
    SetLastError(error);
    return 1;
}

const char *HandlePath(HANDLE handle)
{
    std::map<HANDLE, std::string>::iterator found = Handles.find(handle);
    return found == Handles.end() ? NULL : found->second.c_str();
}

// Faults as Windows gives them: a full disk for what writes, a file held by
// another program for what opens, moves or deletes, denial for attributes
// and reads. A failed close has closed the handle (a delayed write lost).
#define FAULT(ret, name, params, args, path, error, failed)                            \
    ret(WINAPI *Real##name) params;                                                    \
    ret WINAPI Hook##name params { return Point(#name, path, error) ? failed : Real##name args; }
FAULT(BOOL, WriteFile, (HANDLE h, LPCVOID b, DWORD n, LPDWORD w, LPOVERLAPPED o), (h, b, n, w, o),
      HandlePath(h), ERROR_DISK_FULL, (*w = 0, FALSE))
FAULT(BOOL, ReadFile, (HANDLE h, LPVOID b, DWORD n, LPDWORD r, LPOVERLAPPED o), (h, b, n, r, o),
      HandlePath(h), ERROR_READ_FAULT, (*r = 0, FALSE))
FAULT(DWORD, GetFileSize, (HANDLE h, LPDWORD high), (h, high), HandlePath(h), ERROR_READ_FAULT,
      INVALID_FILE_SIZE)
FAULT(BOOL, FlushFileBuffers, (HANDLE h), (h), HandlePath(h), ERROR_DISK_FULL, FALSE)
FAULT(BOOL, CloseHandle, (HANDLE h), (h), HandlePath(h), ERROR_DISK_FULL, (RealCloseHandle(h), FALSE))
FAULT(BOOL, MoveFileExA, (LPCSTR a, LPCSTR b, DWORD f), (a, b, f), a, ERROR_SHARING_VIOLATION, FALSE)
FAULT(BOOL, DeleteFileA, (LPCSTR p), (p), p, ERROR_SHARING_VIOLATION, FALSE)
FAULT(DWORD, GetFileAttributesA, (LPCSTR p), (p), p, ERROR_ACCESS_DENIED, INVALID_FILE_ATTRIBUTES)
FAULT(BOOL, SetFileAttributesA, (LPCSTR p, DWORD a), (p, a), p, ERROR_ACCESS_DENIED, FALSE)

HANDLE(WINAPI *RealCreateFileA)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
HANDLE WINAPI HookCreateFileA(LPCSTR p, DWORD a, DWORD s, LPSECURITY_ATTRIBUTES sa, DWORD d,
                              DWORD f, HANDLE t)
{
    int creates = d == CREATE_NEW || d == CREATE_ALWAYS;
    if (Point("CreateFileA", p, creates ? ERROR_DISK_FULL : ERROR_SHARING_VIOLATION))
        return INVALID_HANDLE_VALUE;
    HANDLE file = RealCreateFileA(p, a, s, sa, d, f, t);
    if (Run.armed && file != INVALID_HANDLE_VALUE)
        Handles[file] = p;
    return file;
}

struct Hook {
    const char *name;
    void *hook, **real;
};
#define HOOK(name) {#name, (void *)Hook##name, (void **)&Real##name}
// Every file-system function of the run (its program's imports say which).
const Hook kHooks[] = {HOOK(CreateFileA), HOOK(WriteFile), HOOK(ReadFile), HOOK(GetFileSize),
                       HOOK(FlushFileBuffers), HOOK(CloseHandle), HOOK(MoveFileExA),
                       HOOK(DeleteFileA), HOOK(GetFileAttributesA), HOOK(SetFileAttributesA)};

// Points this program's kernel32 import slots of those functions at the hooks.
void PatchImports(void)
{
    BYTE *base = (BYTE *)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_IMPORT_DESCRIPTOR *dll = (IMAGE_IMPORT_DESCRIPTOR *)(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; dll->Name; ++dll) {
        if (_stricmp((char *)base + dll->Name, "kernel32.dll") != 0)
            continue;
        IMAGE_THUNK_DATA *name = (IMAGE_THUNK_DATA *)(base + dll->OriginalFirstThunk);
        IMAGE_THUNK_DATA *slot = (IMAGE_THUNK_DATA *)(base + dll->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                continue;
            const char *imported = (char *)((IMAGE_IMPORT_BY_NAME *)(base + name->u1.AddressOfData))->Name;
            for (const Hook &hook : kHooks) {
                DWORD protection;
                if (strcmp(imported, hook.name) != 0 || *hook.real != NULL ||
                    !VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection))
                    continue;
                *hook.real = (void *)slot->u1.Function;
                slot->u1.Function = (ULONG_PTR)hook.hook;
                VirtualProtect(slot, sizeof *slot, protection, &protection);
            }
        }
    }
}

// One run of the upgrade into `folder`: faults at the given calls, or the
// process ended at killAt. RunInstall's result.
int Upgrade(const std::string &folder, int failAt = 0, int secondFailAt = 0, int killAt = 0)
{
    if (RealCreateFileA == NULL)
        PatchImports();
    AppInstance = GetModuleHandleA(NULL);
    snprintf(InstallDir, sizeof InstallDir, "%s", folder.c_str());
    UiLanguage = 1;
    Run = ArmedRun{1, 0, killAt, {failAt, secondFailAt}};
    Calls.clear();
    Handles.clear();
    int result = RunInstall(NULL);
    Run.armed = 0;
    return result;
}

// The child that the kill test starts runs the upgrade before the tests'
// main; the hook ends it at the call it was given.
int RunKilledUpgrade()
{
    char folder[MAX_PATH], at[16];
    if (!GetEnvironmentVariableA("MORIVANE_KILL_AT", at, sizeof at) ||
        !GetEnvironmentVariableA("MORIVANE_KILL_DIR", folder, sizeof folder))
        return 0;
    Upgrade(folder, 0, 0, atoi(at));
    ExitProcess(kNotReached);
}
const int KilledUpgrade = RunKilledUpgrade();

UINT RunKilledChild(const std::string &folder, int killAt)
{
    char exe[MAX_PATH], at[16];
    GetModuleFileNameA(NULL, exe, sizeof exe);
    snprintf(at, sizeof at, "%d", killAt);
    SetEnvironmentVariableA("MORIVANE_KILL_DIR", folder.c_str());
    SetEnvironmentVariableA("MORIVANE_KILL_AT", at);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child;
    BOOL started = CreateProcessA(exe, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &child);
    SetEnvironmentVariableA("MORIVANE_KILL_AT", NULL);
    DWORD code = 0;
    if (!started)
        return 0;
    if (WaitForSingleObject(child.hProcess, 60000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 0);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return code;
}

// A folder's entries by name: bytes and the attributes that matter.
struct Entry {
    std::string bytes;
    DWORD attributes;
    bool operator==(const Entry &other) const
    {
        return bytes == other.bytes && attributes == other.attributes;
    }
};
typedef std::map<std::string, Entry> Snapshot;
const DWORD kAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

Snapshot Take(const std::string &folder)
{
    Snapshot taken;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        std::vector<unsigned char> bytes = ReadWholeFile(folder + "\\" + found.cFileName);
        taken[found.cFileName] = {std::string(bytes.begin(), bytes.end()),
                                  found.dwFileAttributes & kAttributes};
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return taken;
}

// Makes `folder` hold `snapshot`: what differs is removed and written again.
void Plant(const std::string &folder, const Snapshot &snapshot)
{
    Snapshot now = Take(folder);
    for (const auto &entry : now) {
        std::string path = folder + "\\" + entry.first;
        if (snapshot.count(entry.first) && snapshot.at(entry.first) == entry.second)
            continue;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str()) || RemoveDirectoryA(path.c_str());
    }
    for (const auto &entry : snapshot) {
        std::string path = folder + "\\" + entry.first;
        DWORD attributes = entry.second.attributes;
        if (now.count(entry.first) && now[entry.first] == entry.second)
            continue;
        WriteWholeFile(path, entry.second.bytes);
        // Hidden first: Wine cannot add it to a file already read-only.
        SetFileAttributesA(path.c_str(), (attributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_NORMAL);
    }
}

// What differs between `folder` and `expected`, empty when nothing does.
// `heldName` may hold anything while one other entry holds its expected
// bytes: a file held open cannot be put back, only kept.
std::string Differences(const Snapshot &actual, const Snapshot &expected,
                        const std::string &heldName = "")
{
    Snapshot rest = actual, wanted = expected;
    if (!heldName.empty() && rest.count(heldName) && !(rest[heldName] == wanted[heldName])) {
        for (const auto &entry : rest)
            if (!expected.count(entry.first) && entry.second.bytes == wanted[heldName].bytes) {
                std::string keeper = entry.first;
                rest.erase(keeper);
                rest.erase(heldName);
                wanted.erase(heldName);
                break;
            }
    }
    std::string differences;
    for (const auto &entry : wanted)
        if (!rest.count(entry.first) || !(rest[entry.first] == entry.second))
            differences += " " + entry.first + (rest.count(entry.first) ? " differs" : " missing");
    for (const auto &entry : rest)
        if (!wanted.count(entry.first))
            differences += " " + entry.first + " extra";
    return differences;
}

class UpgradeFaults : public ::testing::Test {
protected:
    // The earlier installation: each row's name holding older bytes of its
    // own with the row's attributes. The new one: a clean upgrade over it,
    // whose calls are the points.
    static void SetUpTestSuite()
    {
        folder = MakeScratchFolder("upgrade");
        Snapshot planted;
        for (const PayloadEntry &row : PayloadTable)
            planted[row.fileName] = {std::string("earlier ") + row.fileName,
                                     (DWORD)((row.attributes & PAYLOAD_READ_ONLY ? FILE_ATTRIBUTE_READONLY : 0) |
                                             (row.attributes & PAYLOAD_HIDDEN ? FILE_ATTRIBUTE_HIDDEN : 0))};
        Plant(folder, planted);
        earlier = Take(folder);
        ASSERT_EQ("", Differences(earlier, planted));
        ASSERT_EQ(1, Upgrade(folder));
        points = Calls;
        newer = Take(folder);
        ASSERT_EQ(PAYLOAD_ROWS, (int)newer.size()) << Differences(newer, earlier);
        printf("upgrade: %d file-system calls\n", (int)points.size());
    }
    // After a run that reported `result`: the new installation after a
    // success (leftovers allowed when the next run removes them), else the
    // earlier one, or either when a killed run had passed the point of no
    // return; `heldName` may be kept rather than put back. Empty when so.
    std::string Unsound(int result, bool eitherOnFailure = false, const std::string &heldName = "")
    {
        Snapshot now = Take(folder), payload;
        if (result == 1) {
            for (const auto &entry : now)
                if (newer.count(entry.first))
                    payload.insert(entry);
            if (Differences(payload, newer) != "" || Differences(now, newer) == "")
                return Differences(now, newer);
            if (Upgrade(folder) != 1)
                return "a further run failed";
            std::string left = Differences(Take(folder), newer);
            return left.empty() ? "" : "leftovers kept:" + left;
        }
        std::string toEarlier = Differences(now, earlier, heldName);
        std::string toNewer = eitherOnFailure ? Differences(now, newer, heldName) : "-";
        if (toEarlier.empty() || toNewer.empty())
            return "";
        return "failed, not the earlier:" + toEarlier + (eitherOnFailure ? "; not the new:" + toNewer : "");
    }
    // A normal run afterwards completes the new installation.
    std::string NextRunUnsound()
    {
        int result = Upgrade(folder);
        return result == 1 ? Unsound(1) : "the next run failed";
    }
    // A run failing on `heldName`, open without sharing, then a normal run.
    std::string HeldRunUnsound(const char *heldName, bool eitherOnFailure)
    {
        HANDLE hold = CreateFileA((folder + "\\" + heldName).c_str(), GENERIC_READ, 0, NULL,
                                  OPEN_EXISTING, 0, NULL);
        int result = Upgrade(folder);
        CloseHandle(hold);
        std::string unsound = Unsound(result, eitherOnFailure, heldName);
        if (unsound.empty())
            unsound = NextRunUnsound();
        return unsound.empty() ? "" : std::string("holding ") + heldName + ": " + unsound;
    }
    // A shortcut's message (another program holding the Start menu, say)
    // is answered rather than left waiting; the run itself shows none.
    void TearDown() override { EXPECT_TRUE(watcher.seen.empty()); }
    MessageWatcher watcher;
    std::string Point(int k) { return "point " + std::to_string(k) + " (" + points[k - 1] + "):"; }

    static std::string folder;
    static Snapshot earlier, newer;
    static std::vector<std::string> points;
};
std::string UpgradeFaults::folder;
Snapshot UpgradeFaults::earlier, UpgradeFaults::newer;
std::vector<std::string> UpgradeFaults::points;

TEST_F(UpgradeFaults, EachCallFailing)
{
    int sound = 0, n = (int)points.size();
    for (int k = 1; k <= n; ++k) {
        Plant(folder, earlier);
        int result = Upgrade(folder, k);
        std::string unsound = Unsound(result);
        sound += unsound.empty();
        EXPECT_EQ("", unsound) << Point(k) << " returned " << result;
    }
    printf("faults: %d/%d sound\n", sound, n);
}

// Killed at each call, then a run that fails on a file held open (a late
// row after one kill, the first row after the next), then a normal run.
TEST_F(UpgradeFaults, EachCallEndingTheProcess)
{
    int recovered = 0, n = (int)points.size();
    for (int k = 1; k <= n; ++k) {
        Plant(folder, earlier);
        UINT code = RunKilledChild(folder, k);
        std::string unsound = code == kKilled ? "" : "child exit code " + std::to_string(code);
        if (unsound.empty())
            unsound = HeldRunUnsound(PayloadTable[k % 2 ? 19 : 0].fileName, true);
        recovered += unsound.empty();
        EXPECT_EQ("", unsound) << Point(k);
    }
    printf("kills: %d/%d recovered\n", recovered, n);
}

// A second fault at each call of the longest rollback: the run reports its
// failure, a later failing run leaves the earlier installation and a normal
// run the new one.
TEST_F(UpgradeFaults, EachRollbackCallFailingToo)
{
    int first = (int)points.size();
    for (Plant(folder, earlier); first > 0 && Upgrade(folder, first) != 0; Plant(folder, earlier))
        --first;
    ASSERT_NE(0, first) << "no fault is rolled back";
    std::vector<std::string> rollback = Calls;
    int sound = 0, last = (int)rollback.size();
    for (int k = first + 1; k <= last; ++k) {
        Plant(folder, earlier);
        int result = Upgrade(folder, first, k);
        std::string unsound = result == 0 ? HeldRunUnsound(PayloadTable[19].fileName, false)
                                          : "reported success";
        sound += unsound.empty();
        EXPECT_EQ("", unsound) << "second fault at " << k << " (" << rollback[k - 1] << ") after "
                               << Point(first);
    }
    printf("rollback faults after point %d: %d/%d sound\n", first, sound, last - first);
}
}  // namespace
