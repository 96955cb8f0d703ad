// RunInstall in this process, against a real wizard dialog: the payload with
// its attributes and progress, and a row that fails ending the run.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <string>

#include "base/globals.h"
#include "app/wizard.h"
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
        EXPECT_EQ(row.readOnly != 0, (attributes & FILE_ATTRIBUTE_READONLY) != 0) << row.fileName;
        EXPECT_EQ(row.hidden != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0) << row.fileName;
    }
    std::vector<unsigned char> ini = ReadWholeFile(folder + "\\MorivaneUI.ini");
    std::string text(ini.begin(), ini.end());
    EXPECT_NE(std::string::npos, text.find("\r\n[Config]\r\nUILanguage=1\r\n\r\n"));
}

TEST_F(RunInstallTest, AnyRowThatFailsEndsTheRunThere)
{
    struct Case {
        const char *locked;
        int progress;
        const char *firstMissing;
    } cases[] = {
        {"ChnBmp.bin", 25, "barmenu.JPG"},
        {"Morivane.exe", 75, NULL},
        {"sort.dic", 10, "ZiPartsStd.dat"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locked);
        folder = MakeScratchFolder("fail");
        strcpy(InstallDir, folder.c_str());
        std::string locked = folder + "\\" + c.locked;
        ASSERT_TRUE(WriteWholeFile(locked, "in use"));
        HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, hold);
        MessageWatcher watcher;
        EXPECT_EQ(0, RunInstall());
        CloseHandle(hold);
        EXPECT_EQ(c.progress, Progress());
        if (c.firstMissing) {
            EXPECT_NE(0, _access((folder + "\\" + c.firstMissing).c_str(), 0));
        }
        std::vector<unsigned char> ini = ReadWholeFile(folder + "\\MorivaneUI.ini");
        EXPECT_EQ(std::string::npos, std::string(ini.begin(), ini.end()).find("[Config]"))
            << "no language written";
        EXPECT_TRUE(watcher.seen.empty()) << "RunInstall itself shows nothing";
    }
}

// The first row's file on a drive with room for the blocks that the write
// itself passes on, not for the tail that waits in the stream's buffer: the
// failure shows only when the file is closed, and that row ends the run.
TEST_F(RunInstallTest, AWriteThatFailsOnlyAtTheCloseEndsTheRun)
{
    if (!Exists("E:\\"))
        GTEST_SKIP() << "no small drive E: in this Wine prefix";
    const PayloadEntry &first = PayloadTable[0];
    unsigned long size =
        (unsigned long)InflatedResource(AppInstance, first.id, PAYLOAD_BUFFER_SIZE).size();
    const unsigned long kStreamBuffer = 4096;
    ASSERT_NE(0u, size % kStreamBuffer) << "the file must leave a tail in the buffer";
    folder = "E:\\close-" + std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    strcpy(InstallDir, folder.c_str());
    std::string filler = FillDriveE(size / kStreamBuffer * kStreamBuffer);
    ASSERT_FALSE(filler.empty());

    EXPECT_EQ(0, RunInstall());
    EXPECT_FALSE(Exists(folder + "\\" + PayloadTable[1].fileName)) << "the run went on";
    DeleteFileA(filler.c_str());
    DeleteFileA((folder + "\\" + first.fileName).c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
