// RunInstall in this process, against a real wizard dialog: the payload with
// its attributes and progress, and a run that fails putting back the
// installation it found.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <functional>
#include <string>

#include "base/globals.h"
#include "install/install_state.h"
#include "app/wizard.h"
#include "install/file_commit.h"
#include "install/install_command.h"
#include "install/install_run.h"
#include "install/payload_table.h"
#include "message_watcher.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "resources/resource_ids.h"
#include "test_support.h"
#include "texts.h"

namespace {

TEST(InstallPaths, TypedFoldersThatAreKeptAsTheyAre)
{
    struct Case {
        const char *path;
        int absolute;
    } cases[] = {
        {"C:\\Morivane", 1}, {"d:/x", 1},        {"D:", 1},          {"C:\\", 1},
        {"\\\\server\\share", 1}, {"Morivane", 0}, {"C:Morivane", 0}, {"\\Morivane", 0},
        {"..\\x", 0},        {"", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.absolute, IsAbsoluteInstallPath(c.path)) << c.path;
}

TEST(InstallNames, FollowTheDisplayLanguage)
{
    EXPECT_STREQ(kProductNameEnglish, ProductDisplayName(LANGUAGE_ENGLISH));
    EXPECT_STREQ(kUninstallerNameEnglish, UninstallerDisplayName(LANGUAGE_ENGLISH));
    EXPECT_STREQ(kProductNameSimplified, ProductDisplayName(LANGUAGE_SIMPLIFIED));
    EXPECT_STREQ(kUninstallerNameTraditional, UninstallerDisplayName(LANGUAGE_TRADITIONAL));
    EXPECT_STREQ(kProductNameEnglish, ProductDisplayName(7)) << "out of range: English";
}

class RunInstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AppInstance = GetModuleHandleA(NULL);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
    }
    static void TearDownTestSuite() { ReleaseGlyphAtlas(); }

    void SetUp() override
    {
        MainDialog = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL,
                                        MainDialogProc, 0);
        ASSERT_NE(nullptr, MainDialog);
        InstallOwner = MainDialog;
        folder = MakeScratchFolder("run");
        ASSERT_FALSE(folder.empty());
        strcpy(InstallDir, folder.c_str());
        DisplayLanguage = 0;
        DesktopIconOption = 0;
        AutoStartOption = 0;
        UiLanguage = 1;
    }
    void TearDown() override
    {
        DestroyWindow(MainDialog);
        MainDialog = NULL;
    }
    int Progress()
    {
        return (int)SendDlgItemMessageA(MainDialog, IDC_PROGRESS, PBM_GETPOS, 0, 0);
    }
    std::string folder;
};

TEST_F(RunInstallTest, WritesEveryRowWithItsAttributesAndEndsAt100)
{
    MessageWatcher watcher;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ASSERT_EQ(1, RunInstall());
    QueryPerformanceCounter(&end);
    printf("RunInstall took %.1f ms\n",
           1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    EXPECT_EQ(100, Progress());
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(MainDialog, IDC_PROGRESS)));
    EXPECT_TRUE(watcher.seen.empty());
    for (const PayloadEntry &row : PayloadTable) {
        std::string path = folder + "\\" + row.fileName;
        DWORD attributes = GetFileAttributesA(path.c_str());
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << row.fileName;
        EXPECT_EQ((row.attributes & PAYLOAD_READ_ONLY) != 0, (attributes & FILE_ATTRIBUTE_READONLY) != 0)
            << row.fileName;
        EXPECT_EQ((row.attributes & PAYLOAD_HIDDEN) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0)
            << row.fileName;
    }
    std::vector<unsigned char> ini = ReadWholeFile(folder + "\\MorivaneUI.ini");
    std::string text(ini.begin(), ini.end());
    EXPECT_NE(std::string::npos, text.find("\r\n[Config]\r\nUILanguage=1\r\n\r\n"));
}

// An earlier installation: each row's file holds an older text of its own,
// with the row's attributes.
std::string Earlier(const PayloadEntry &row) { return std::string("earlier ") + row.fileName; }

void PlantEarlierInstallation(const std::string &folder)
{
    for (const PayloadEntry &row : PayloadTable) {
        std::string path = folder + "\\" + row.fileName;
        ASSERT_TRUE(WriteWholeFile(path, Earlier(row)));
        // Hidden first: Wine cannot add it to a file already read-only.
        DWORD hidden = row.attributes & PAYLOAD_HIDDEN ? FILE_ATTRIBUTE_HIDDEN : 0;
        SetFileAttributesA(path.c_str(), hidden ? hidden : FILE_ATTRIBUTE_NORMAL);
        if (row.attributes & PAYLOAD_READ_ONLY)
            SetFileAttributesA(path.c_str(), hidden | FILE_ATTRIBUTE_READONLY);
    }
}

void ExpectEarlierInstallation(const std::string &folder)
{
    for (const PayloadEntry &row : PayloadTable) {
        std::string path = folder + "\\" + row.fileName;
        std::vector<unsigned char> content = ReadWholeFile(path);
        EXPECT_EQ(Earlier(row), std::string(content.begin(), content.end()));
        DWORD attributes = GetFileAttributesA(path.c_str());
        EXPECT_EQ((row.attributes & PAYLOAD_READ_ONLY) != 0, (attributes & FILE_ATTRIBUTE_READONLY) != 0)
            << row.fileName;
        EXPECT_EQ((row.attributes & PAYLOAD_HIDDEN) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0)
            << row.fileName;
    }
    EXPECT_EQ(PAYLOAD_ROWS, CountFolderEntries(folder)) << "nothing else is left";
}

// Runs `action` when the run sets the progress bar to `position`: the
// moment between two steps of the run.
int HookPosition;
std::function<void()> HookAction;
WNDPROC ProgressProc;
LRESULT CALLBACK ProgressHook(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS && (int)wParam == HookPosition && HookAction)
        HookAction();
    return CallWindowProcA(ProgressProc, bar, message, wParam, lParam);
}

// A run that fails anywhere, the settings file included, leaves the earlier
// installation as it was, after the progress shows how far it came.
TEST_F(RunInstallTest, AFailedRunLeavesTheEarlierInstallationAsItWas)
{
    struct Case {
        const char *what;
        const char *locked;  // held open by another program
        int fullAt;          // the disk is full from this position on
        int settingsBlockedAt;
        int progress;
    } cases[] = {
        {"locked 20th row", "TevaiInfo_en.PNG", 0, 0, 45},
        {"locked atlas", "ChnBmp.bin", 0, 0, 25},
        {"settings file", NULL, 0, 90, 90},
        {"full disk at the first row", NULL, 10, 0, 10},
        {"full disk at a middle row", NULL, 20, 0, 20},
        {"full disk at the last row", NULL, 75, 0, 75},
    };
    HWND bar = GetDlgItem(MainDialog, IDC_PROGRESS);
    ProgressProc = (WNDPROC)SetWindowLongPtrA(bar, GWLP_WNDPROC, (LONG_PTR)ProgressHook);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.fullAt && !Exists("E:\\"))
            continue;  // no small drive E: in this Wine prefix
        folder = c.fullAt ? "E:\\earlier-" + std::to_string(GetTickCount())
                          : MakeScratchFolder("fail");
        CreateDirectoryA(folder.c_str(), NULL);
        strcpy(InstallDir, folder.c_str());
        PlantEarlierInstallation(folder);
        char stagedName[MAX_PATH];
        ASSERT_TRUE(WorkingFileName(stagedName, sizeof stagedName, InstallDir, IDR_SETTINGS_INI,
                                    WORK_NEW));
        std::string staged = stagedName, filler;
        HookPosition = c.fullAt + c.settingsBlockedAt;
        HookAction = [&] {
            if (c.fullAt)
                filler = FillDriveE(0);
            else
                CreateDirectoryA(staged.c_str(), NULL);
        };
        HANDLE hold = INVALID_HANDLE_VALUE;
        if (c.locked)
            hold = CreateFileA((folder + "\\" + c.locked).c_str(), GENERIC_READ, 0, NULL,
                               OPEN_EXISTING, 0, NULL);
        MessageWatcher watcher;
        EXPECT_EQ(0, RunInstall());
        EXPECT_EQ(c.progress, Progress());
        EXPECT_TRUE(watcher.seen.empty()) << "RunInstall itself shows nothing";
        CloseHandle(hold);
        DeleteFileA(filler.c_str());
        RemoveDirectoryA(staged.c_str());
        ExpectEarlierInstallation(folder);
        for (const PayloadEntry &row : PayloadTable) {
            std::string path = folder + "\\" + row.fileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    HookAction = nullptr;
}

// What a run killed midway leaves: a replaced file's earlier copy beside
// its new one, an earlier copy whose new one was not yet in place, a new
// file half written. The next run puts the earlier files back first, so
// that when it fails too the earlier installation is whole.
TEST_F(RunInstallTest, TheNextRunUndoesWhatAKilledRunLeft)
{
    for (bool fails : {true, false}) {
        SCOPED_TRACE(fails ? "next run fails" : "next run succeeds");
        folder = MakeScratchFolder("killed");
        strcpy(InstallDir, folder.c_str());
        PlantEarlierInstallation(folder);
        char working[MAX_PATH];
        for (int i = 0; i < 2; ++i) {
            std::string path = folder + "\\" + PayloadTable[i].fileName;
            WorkingFileName(working, sizeof working, InstallDir, PayloadTable[i].id, WORK_KEPT);
            ASSERT_TRUE(MoveFileA(path.c_str(), working));
        }
        ASSERT_TRUE(WriteWholeFile(folder + "\\" + PayloadTable[0].fileName, "new"));
        WorkingFileName(working, sizeof working, InstallDir, PayloadTable[2].id, WORK_NEW);
        ASSERT_TRUE(WriteWholeFile(working, "ne"));
        std::string locked = folder + "\\" + PayloadTable[4].fileName;
        HANDLE hold = INVALID_HANDLE_VALUE;
        if (fails)
            hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        EXPECT_EQ(fails ? 0 : 1, RunInstall());
        CloseHandle(hold);
        if (fails)
            ExpectEarlierInstallation(folder);
        else
            EXPECT_EQ(PAYLOAD_ROWS, CountFolderEntries(folder));
    }
}

}  // namespace
