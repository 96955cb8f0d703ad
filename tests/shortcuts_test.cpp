// Shortcuts written through the shell and read back through IShellLinkA: the
// group folder, failure messages, Windows 3 paths and buffer limits.
#include <gtest/gtest.h>

#include <io.h>
#include <objbase.h>
#include <shlobj.h>
#include <string.h>
#include <string>

#include "message/message_dialog.h"
#include "base/format.h"
#include "base/globals.h"
#include "install/install_state.h"
#include "install/shortcuts.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "texts.h"
#include "message_watcher.h"
#include "test_support.h"

namespace {

const char kStartMenuFailureSub[] = "Failed to create an entry on Start Menu.";

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override
    {
        IsVersion3 = 0;
        IsWindowsNt = 1;
        installDir = MakeScratchFolder("links");
        ASSERT_FALSE(installDir.empty());
        strcpy(InstallDir, installDir.c_str());
        programs = SpecialFolder(CSIDL_PROGRAMS);
        ASSERT_FALSE(programs.empty());
        static int counter;
        group = "Morivane Test " + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
    }
    std::string installDir, programs, group;
};

TEST_F(Shortcuts, LinkReadsBackWithPathDescriptionWorkingDirectoryAndIcon)
{
    const ShortcutEntry entries[] = {{"Quelt Morivane", "Morivane.exe"},
                                     {"UnInstall Morivane", "MorivaneUnInstall.exe"},
                                     {NULL, NULL}};
    MessageWatcher watcher;
    ASSERT_EQ(1, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
    EXPECT_TRUE(watcher.seen.empty());
    for (const ShortcutEntry *e = entries; e->displayName; ++e) {
        LinkInfo link = ReadShellLink(programs + "\\" + group + "\\" + e->displayName + ".lnk");
        ASSERT_TRUE(link.loaded) << e->displayName;
        EXPECT_EQ(installDir + "\\" + e->targetFileName, link.path);
        EXPECT_EQ(e->displayName, link.description);
        EXPECT_EQ(installDir, link.workingDir);
        EXPECT_EQ(installDir + "\\" + e->targetFileName, link.iconPath);
        EXPECT_EQ(0, link.iconIndex);
    }
    // Run again: the folder exists and is reused without a word.
    ASSERT_EQ(1, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
    EXPECT_TRUE(watcher.seen.empty());
}

TEST_F(Shortcuts, PlainFileOfTheGroupNameGivesOneStartMenuMessage)
{
    ASSERT_TRUE(WriteWholeFile(programs + "\\" + group, "not a folder"));
    const ShortcutEntry entries[] = {{"One", "Morivane.exe"}, {"Two", "Morivane.exe"}, {NULL, NULL}};
    MessageWatcher watcher;
    EXPECT_EQ(0, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
    ASSERT_EQ(1u, watcher.seen.size());
    EXPECT_EQ(kStartMenuFailureSub, watcher.seen[0].subText);
    DeleteFileA((programs + "\\" + group).c_str());
}

TEST_F(Shortcuts, OnlyTheLastEntryDecidesTheResult)
{
    std::string folder = programs + "\\" + group;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    // A folder where a link should go makes that one save fail.
    ASSERT_TRUE(CreateDirectoryA((folder + "\\Blocked.lnk").c_str(), NULL));
    {
        const ShortcutEntry entries[] = {{"Blocked", "a.exe"}, {"Fine", "b.exe"}, {NULL, NULL}};
        MessageWatcher watcher;
        EXPECT_EQ(1, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
        EXPECT_TRUE(watcher.seen.empty());
    }
    {
        const ShortcutEntry entries[] = {{"Kept", "a.exe"}, {"Blocked", "b.exe"}, {NULL, NULL}};
        MessageWatcher watcher;
        EXPECT_EQ(0, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
        ASSERT_EQ(1u, watcher.seen.size());
        EXPECT_EQ(kStartMenuFailureSub, watcher.seen[0].subText);
        EXPECT_TRUE(ReadShellLink(folder + "\\Kept.lnk").loaded);
    }
}

// The message names the folder whole, though a Start-menu path today runs
// past the 79 bytes the main text was once cut to.
TEST_F(Shortcuts, MissingParentGivesTheFolderMessageWithTheWholePath)
{
    AppInstance = GetModuleHandleA(NULL);
    ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
    std::string nested = group + "\\deeper";
    const ShortcutEntry entries[] = {{"One", "a.exe"}, {NULL, NULL}};
    MessageWatcher watcher;
    EXPECT_EQ(0, CreateShortcutGroup(nested.c_str(), entries, CSIDL_PROGRAMS, NULL));
    ReleaseGlyphAtlas();
    ASSERT_EQ(1u, watcher.seen.size());
    EXPECT_EQ("Cannot create folder!", watcher.seen[0].subText);
    char expected[MESSAGE_TEXT_SIZE];
    FormatText(expected, sizeof expected, kGroupFolderFailureFormat,
               (programs + "\\" + nested).c_str());
    ASSERT_GT(strlen(expected), 79u);
    EXPECT_EQ(expected, watcher.seen[0].text);
    EXPECT_TRUE(watcher.seen[0].drawnWhole);
}

TEST_F(Shortcuts, EmptyListStillMakesTheFolderAndNoNameMeansTheFolderItself)
{
    const ShortcutEntry none[] = {{NULL, NULL}};
    MessageWatcher watcher;
    EXPECT_EQ(1, CreateShortcutGroup(group.c_str(), none, CSIDL_PROGRAMS, NULL));
    EXPECT_TRUE(Exists(programs + "\\" + group));

    const ShortcutEntry startup[] = {{group.c_str(), "Morivane.exe"}, {NULL, NULL}};
    EXPECT_EQ(1, CreateShortcutGroup("", startup, CSIDL_STARTUP, NULL));
    std::string link = SpecialFolder(CSIDL_STARTUP) + "\\" + group + ".lnk";
    EXPECT_TRUE(ReadShellLink(link).loaded);
    DeleteFileA(link.c_str());
    EXPECT_TRUE(watcher.seen.empty());
}

TEST_F(Shortcuts, DriveRootInstallFolder)
{
    strcpy(InstallDir, "C:");
    const ShortcutEntry entries[] = {{"Root", "Morivane.exe"}, {NULL, NULL}};
    ASSERT_EQ(1, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
    LinkInfo link = ReadShellLink(programs + "\\" + group + "\\Root.lnk");
    EXPECT_EQ("C:\\Morivane.exe", link.path);
    EXPECT_EQ("C:", link.workingDir);
}

TEST_F(Shortcuts, DesktopShortcutIsSilentEvenWhenItFails)
{
    MessageWatcher watcher;
    CreateDesktopShortcut("Morivane.exe", group.c_str());
    std::string link = SpecialFolder(CSIDL_DESKTOP) + "\\" + group + ".lnk";
    LinkInfo info = ReadShellLink(link);
    EXPECT_TRUE(info.loaded);
    EXPECT_EQ(installDir + "\\Morivane.exe", info.path);
    DeleteFileA(link.c_str());

    // A name that does not fit the 100-byte piece: no shortcut at all, not
    // one under a cut name.
    std::string longName = group + std::string(100, 'n');
    CreateDesktopShortcut("Morivane.exe", longName.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search =
        FindFirstFileA((SpecialFolder(CSIDL_DESKTOP) + "\\" + group + "*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_TRUE(watcher.seen.empty());
}

TEST_F(Shortcuts, PathsThatDoNotFitFailWithoutWritingPastABuffer)
{
    std::string longDir = "C:\\" + std::string(250, 'd');
    strcpy(InstallDir, longDir.c_str());
    const ShortcutEntry entries[] = {{"Long", "Morivane.exe"}, {NULL, NULL}};
    MessageWatcher watcher;
    EXPECT_EQ(0, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
    EXPECT_EQ(1u, watcher.seen.size());
    EXPECT_FALSE(Exists(programs + "\\" + group + "\\Long.lnk"));
}

TEST_F(Shortcuts, WindowsThreeFoldersAreBuiltFromTheWindowsDirectory)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string base = windows;
    if (base.back() != '\\')
        base += "\\";
    char user[256];
    DWORD size = sizeof user;
    ASSERT_TRUE(GetUserNameA(user, &size));
    std::string profile = base + "profiles\\" + user + "\\";

    struct Case {
        int nt, csidl;
        std::string expected;
    } cases[] = {
        {1, CSIDL_PROGRAMS, profile + "start menu\\programs"},
        {1, CSIDL_DESKTOP, profile + "Desktop"},
        {1, CSIDL_STARTUP, profile},
        {0, CSIDL_PROGRAMS, base + "start menu\\programs"},
        {0, CSIDL_DESKTOP, base + "Desktop"},
        {0, CSIDL_STARTUP, base},
    };
    for (const Case &c : cases) {
        IsWindowsNt = c.nt;
        char path[MAX_PATH] = "";
        EXPECT_EQ(1, GetLegacyFolderPath(path, c.csidl));
        EXPECT_EQ(c.expected, path) << c.nt << " " << c.csidl;
    }

    // With the folders in place, a version-3 group lands there.
    IsVersion3 = 1;
    IsWindowsNt = 1;
    std::string programs3 = profile + "start menu\\programs";
    for (std::string p : {base + "profiles", base + "profiles\\" + user, profile + "start menu",
                          programs3})
        CreateDirectoryA(p.c_str(), NULL);
    const ShortcutEntry entries[] = {{"Old", "Morivane.exe"}, {NULL, NULL}};
    EXPECT_EQ(1, CreateShortcutGroup(group.c_str(), entries, CSIDL_PROGRAMS, NULL));
    EXPECT_TRUE(ReadShellLink(programs3 + "\\" + group + "\\Old.lnk").loaded);
    const ShortcutEntry startup[] = {{"Boot", "Morivane.exe"}, {NULL, NULL}};
    EXPECT_EQ(1, CreateShortcutGroup(NULL, startup, CSIDL_STARTUP, NULL));
    EXPECT_TRUE(ReadShellLink(profile + "\\Boot.lnk").loaded) << "two backslashes before the name";
}

}  // namespace
