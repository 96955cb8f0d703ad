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

// The folder judged is the folder written: one full name, a drive alone
// its root, as the files' names ("C:\name") have it, and nothing cut short.
TEST(InstallPaths, TypedFoldersResolvedOnce)
{
    // Started in a folder of drive C:, where "C:" alone would name that folder.
    char saved[MAX_PATH], current[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(sizeof saved, saved));
    ASSERT_NE(0u, GetWindowsDirectoryA(current, sizeof current));
    ASSERT_TRUE(SetCurrentDirectoryA(current));
    // A relative name that fills MAX_PATH once the current folder is put before it.
    const std::string longest(MAX_PATH - 2 - strlen(current), 'x');
    struct Case {
        std::string typed, full;  // full empty: refused
    } cases[] = {
        {"C:", "C:\\"},
        {"C:\\", "C:\\"},
        {"d:/x/", "d:\\x"},
        {"C:\\a\\..\\Morivane", "C:\\Morivane"},
        {"\\\\server\\share\\x\\", "\\\\server\\share\\x"},
        {"Morivane", std::string(current) + "\\Morivane"},
        {longest, std::string(current) + "\\" + longest},
        {"", ""},
    };
    for (const Case &c : cases) {
        char out[MAX_PATH] = "";
        EXPECT_EQ(!c.full.empty(), ResolveInstallFolder(c.typed.c_str(), out, sizeof out)) << c.typed;
        EXPECT_EQ(c.full, c.full.empty() ? c.full : out) << c.typed;
    }
    char small[12];
    EXPECT_EQ(1, ResolveInstallFolder("C:\\Morivane", small, sizeof small));
    EXPECT_EQ(0, ResolveInstallFolder("C:\\Morivane1", small, sizeof small)) << "never cut short";
    SetCurrentDirectoryA(saved);
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
        for (int &option : InstallOptions)
            option = 0;
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
    ASSERT_EQ(1, RunInstall(MainDialog));
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
