// RunInstall in this process, against a real wizard dialog: the payload with
// its attributes and progress. Runs that fail or are killed are tried at
// every file-system call in upgrade_faults_test.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <string>

#include "base/globals.h"
#include "install/install_state.h"
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

}  // namespace
