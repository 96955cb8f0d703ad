// End to end: whole installations by the built installer, walked through its
// wizard from another process; files, attributes, the settings file, the
// shortcuts, the messages and the failure paths. (The speech-runtime package
// is followed in hardening_e2e_test.cpp.)
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <io.h>
#include <objbase.h>
#include <shlobj.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "app/languages.h"
#include "base/globals.h"
#include "install/file_commit.h"
#include "install/install_command.h"
#include "install/payload_table.h"
#include "installer_driver.h"
#include "resources/resource_ids.h"
#include "texts.h"

namespace {

const char kSuccess[] = "Congratulations! Installation Success!";
const char kFailure[] =
    "Installation failed. Please check your system (quit all Quelt applications) and try again.";
const char kOffer[] = "Now install sound module SAPI5.1 from Microsoft.";
const char kFolderMessage[] = "Cannot create folder! Please check folder path.";

// Program and uninstaller names for the locale the test runs under.
struct Names {
    std::string product, uninstaller;
    int language;  // the DisplayLanguage they are for
};
Names NamesForLocale()
{
    const char *locale = getenv("LC_ALL");
    std::string l = locale ? locale : "C";
    if (l.rfind("zh_CN", 0) == 0)
        return {kProductNameSimplified, kUninstallerNameSimplified, LANGUAGE_SIMPLIFIED};
    if (l.rfind("zh_TW", 0) == 0)
        return {kProductNameTraditional, kUninstallerNameTraditional, LANGUAGE_TRADITIONAL};
    return {kProductNameEnglish, kUninstallerNameEnglish, LANGUAGE_ENGLISH};
}

std::string LinkTarget(const std::string &linkPath) { return ReadShellLink(linkPath).path; }

class Installation : public ::testing::Test {
protected:
    void SetUp() override
    {
        names = NamesForLocale();
        scratch = MakeScratchFolder("e2e");
        ASSERT_FALSE(scratch.empty());
        target = scratch + "\\Morivane";
        RemoveShortcuts();
    }
    void RemoveShortcuts()
    {
        for (const ShortcutRow &row : ShortcutTable)
            DeleteFileA(Link(row).c_str());
        std::string group = SpecialFolder(CSIDL_PROGRAMS) + "\\" + names.product;
        RemoveDirectoryA(group.c_str());
        DeleteFileA(group.c_str());  // a file in its way, left by a failed test
    }
    std::string GroupLink(const std::string &name)
    {
        return SpecialFolder(CSIDL_PROGRAMS) + "\\" + names.product + "\\" + name + ".lnk";
    }
    std::string Link(const ShortcutRow &row)
    {
        std::string name = row.name(names.language);
        return row.csidl == CSIDL_PROGRAMS ? GroupLink(name)
                                           : SpecialFolder(row.csidl) + "\\" + name + ".lnk";
    }
    std::string DesktopLink() { return SpecialFolder(CSIDL_DESKTOP) + "\\" + names.product + ".lnk"; }
    // Every shortcut of the installation's table is there, opening its
    // payload file in the folder, when its option was chosen, and only then.
    void ExpectShortcuts(bool chosen)
    {
        for (const ShortcutRow &row : ShortcutTable) {
            std::string link = Link(row);
            SCOPED_TRACE(link);
            if (row.option == OPTION_ALWAYS || chosen)
                EXPECT_EQ(target + "\\" + ShortcutTarget(row), LinkTarget(link));
            else
                EXPECT_FALSE(Exists(link));
        }
    }

    // Walks to the licence page with every option chosen or none and
    // presses Agree/Install.
    void StartInstallation(const std::string &folder, bool options, int language,
                           const std::string &workingDir = "")
    {
        ASSERT_TRUE(run.Start(InstallerPath(), workingDir));
        wizard = run.WaitForWizard();
        ASSERT_NE(nullptr, wizard);
        SendMessageTimeoutA(Control(wizard, IDC_PATH_EDIT), WM_SETTEXT, 0, (LPARAM)folder.c_str(),
                            SMTO_BLOCK, 5000, NULL);
        ASSERT_TRUE(SetEveryOption(wizard, options));
        Click(wizard, IDC_NEXT);
        ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LANGUAGE_COMBO); }));
        SendMessageA(Control(wizard, IDC_LANGUAGE_COMBO), CB_SETCURSEL, language, 0);
        Click(wizard, IDC_NEXT);
        ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_ENGLISH); }));
        // The pointer waits outside the wizard: the installer brings it over.
        // Wine may undo a warp with a late pointer event from the X server,
        // which leaves the pointer where an earlier test's wizard was.
        ASSERT_TRUE(WaitUntil([&] {
            SetCursorPos(0, 0);
            Sleep(50);
            POINT pointer;
            return GetCursorPos(&pointer) && pointer.x == 0 && pointer.y == 0;
        }));
        agreedAt = GetTickCount();
        Click(wizard, IDC_NEXT);
    }
    // The next message dialog, or null; it is then the last one seen.
    HWND NextMessage(int timeoutMs = 30000)
    {
        HWND dialog = NULL;
        WaitUntil([&] {
            HWND found = run.WaitForWindow(MESSAGE_CAPTION, 0);
            if (found != NULL && found != lastMessage)
                dialog = found;
            return dialog != NULL;
        }, timeoutMs);
        if (dialog == NULL)
            return NULL;
        if (firstMessageAfterMs == 0)
            firstMessageAfterMs = GetTickCount() - agreedAt;
        progressAtMessage =
            (int)SendMessageA(Control(wizard, IDC_PROGRESS), PBM_GETPOS, 0, 0);
        lastMessage = dialog;
        return dialog;
    }
    // The next message dialog: its secondary text, after which it is answered.
    std::string Answer(int button, int timeoutMs = 30000)
    {
        HWND dialog = NextMessage(timeoutMs);
        if (dialog == NULL)
            return "(no message)";
        std::string sub = WindowText(Control(dialog, IDC_MSG_SUBTEXT));
        Click(dialog, button);
        WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
        return sub;
    }
    bool FocusComesTo(HWND dialog, int id)
    {
        return WaitUntil([&] { return FocusOf(dialog) == Control(dialog, id); });
    }
    void ExpectAllFiles()
    {
        for (const PayloadEntry &f : PayloadTable) {
            std::string path = target + "\\" + f.fileName;
            DWORD attributes = GetFileAttributesA(path.c_str());
            ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << f.fileName;
            EXPECT_EQ((f.attributes & PAYLOAD_READ_ONLY) != 0,
                      (attributes & FILE_ATTRIBUTE_READONLY) != 0)
                << f.fileName;
            EXPECT_EQ((f.attributes & PAYLOAD_HIDDEN) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0)
                << f.fileName;
            if (f.id == IDR_SETTINGS_INI)
                continue;
            EXPECT_EQ(InflatedResource(GetModuleHandleA(NULL), f.id, PAYLOAD_BUFFER_SIZE),
                      ReadWholeFile(path))
                << f.fileName;
        }
    }
    void ExpectSettings(int language)
    {
        std::vector<unsigned char> delivered =
            InflatedResource(GetModuleHandleA(NULL), IDR_SETTINGS_INI, PAYLOAD_BUFFER_SIZE);
        std::string expected(delivered.begin(), delivered.end());
        expected += "\r\n[Config]\r\nUILanguage=" + std::to_string(language) + "\r\n\r\n";
        std::vector<unsigned char> actual = ReadWholeFile(target + "\\MorivaneUI.ini");
        EXPECT_EQ(expected, std::string(actual.begin(), actual.end()));
    }

    Names names;
    std::string scratch, target;
    InstallerRun run;
    HWND wizard = NULL, lastMessage = NULL;
    DWORD agreedAt = 0, firstMessageAfterMs = 0;
    int progressAtMessage = -1;
};

TEST_F(Installation, WholeInstallationWithEveryOption)
{
    StartInstallation(target, true, 2);
    EXPECT_EQ(kSuccess, Answer(IDOK));
    // The minimum whole seconds of the calendar clock: more than one second
    // less, and only once.
    EXPECT_GE(firstMessageAfterMs, (MINIMUM_RUN_SECONDS - 1) * 1000u);
    EXPECT_LE(firstMessageAfterMs, MINIMUM_RUN_SECONDS * 1000u + 1500u);
    EXPECT_EQ(100, progressAtMessage);
    RECT r;
    POINT pointer;
    ASSERT_TRUE(GetWindowRect(wizard, &r) && GetCursorPos(&pointer));
    EXPECT_EQ(r.left + (r.right - r.left) / 2, pointer.x) << "the pointer is on the wizard";
    EXPECT_EQ(r.top + (r.bottom - r.top) / 2, pointer.y);
    EXPECT_FALSE(IsShown(wizard, IDC_NEXT));
    EXPECT_FALSE(IsShown(wizard, IDCANCEL));
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());

    ExpectAllFiles();
    ExpectSettings(2);
    ExpectShortcuts(true);
}

// The whole installation with keys alone, posted to whatever has the focus
// and so read by the installer's own loops: no command, no click. Each key
// waits for what it does, as someone watching the screen would.
// Folders the installer has made for packages in the temporary folder.
int PackageFolders()
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp)
        return -1;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(temp) + "Morivane-*").c_str(), &found);
    int count = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do
            ++count;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return count;
}

TEST_F(Installation, WithTheKeyboardAlone)
{
    int packageFolders = PackageFolders();
    ASSERT_TRUE(run.Start(InstallerPath()));
    wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    ASSERT_TRUE(FocusComesTo(wizard, IDC_PATH_EDIT));
    HWND edit = Control(wizard, IDC_PATH_EDIT);
    PressKey(wizard, VK_END);
    for (size_t i = WindowText(edit).size(); i > 0; --i)
        PressKey(wizard, VK_BACK);
    // Each Backspace becomes a character that the loop posts behind all else.
    ASSERT_TRUE(WaitUntil([&] { return WindowText(edit).empty(); }));
    TypeText(wizard, target);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(edit) == target; })) << WindowText(edit);
    for (int id : {IDC_BROWSE, IDC_DESKTOP_ICON, IDC_AUTOSTART}) {
        PressKey(wizard, VK_TAB);
        ASSERT_TRUE(FocusComesTo(wizard, id)) << id;
    }
    PressKey(wizard, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return CheckState(wizard, IDC_AUTOSTART) == BST_CHECKED; }));

    PressKey(wizard, VK_RETURN);  // Next, from a check box
    ASSERT_TRUE(FocusComesTo(wizard, IDC_LANGUAGE_COMBO)) << "the page's first control";
    HWND languages = Control(wizard, IDC_LANGUAGE_COMBO);
    PressKey(wizard, VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(languages, CB_GETCURSEL, 0, 0) == 1; }));
    PressKey(wizard, VK_RETURN);
    ASSERT_TRUE(FocusComesTo(wizard, IDC_ENGLISH));
    PressKey(wizard, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_ZH); }));
    PressKey(wizard, VK_TAB);  // into the licence, to read it
    ASSERT_TRUE(FocusComesTo(wizard, IDC_LICENCE_ZH));
    PressKey(wizard, VK_NEXT);  // the first key only places the caret
    PressKey(wizard, VK_NEXT);
    ASSERT_TRUE(WaitUntil([&] {
        return SendMessageA(Control(wizard, IDC_LICENCE_ZH), LB_GETCARETINDEX, 0, 0) > 0;
    }));
    agreedAt = GetTickCount();
    PressKey(wizard, VK_RETURN);  // Agree/Install

    HWND success = NextMessage();
    ASSERT_NE(nullptr, success);
    EXPECT_EQ(kSuccess, WindowText(Control(success, IDC_MSG_SUBTEXT)));
    ASSERT_TRUE(FocusComesTo(success, IDOK));
    PressKey(success, VK_RETURN);
    HWND offer = NextMessage();
    ASSERT_NE(nullptr, offer);
    EXPECT_EQ(kOffer, WindowText(Control(offer, IDC_MSG_SUBTEXT)));
    PressKey(offer, VK_TAB);
    ASSERT_TRUE(FocusComesTo(offer, IDCANCEL));
    PressKey(offer, VK_RETURN);
    EXPECT_EQ(0, run.WaitForExit());
    EXPECT_EQ(packageFolders, PackageFolders()) << "Enter on Cancel declines the package";
    ExpectSettings(1);
    ExpectShortcuts(true);
}

TEST_F(Installation, WithoutOptionsOnlyTheStartMenuGroup)
{
    StartInstallation(target, false, 0);
    EXPECT_EQ(kSuccess, Answer(IDOK));
    EXPECT_EQ(100, progressAtMessage);
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());
    ExpectSettings(0);
    ExpectShortcuts(false);
}

TEST_F(Installation, AgainOverAnEarlierInstallation)
{
    StartInstallation(target, false, 1);
    EXPECT_EQ(kSuccess, Answer(IDOK));
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());

    // Every file is now read-only and most are hidden; a second run replaces
    // them. The settings file is delivered anew (the user's change to it goes)
    // and gains the section once, with the new value.
    std::string settings = target + "\\MorivaneUI.ini";
    ASSERT_TRUE(SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL));
    std::vector<unsigned char> edited = ReadWholeFile(settings);
    ASSERT_TRUE(WriteWholeFile(settings, "[Mine]\r\nKey=1\r\n" +
                                             std::string(edited.begin(), edited.end())));
    ASSERT_TRUE(SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY));
    InstallerRun second;
    std::swap(run, second);
    lastMessage = NULL;
    StartInstallation(target, false, 2);
    EXPECT_EQ(kSuccess, Answer(IDOK));
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());
    ExpectAllFiles();
    ExpectSettings(2);
}

TEST_F(Installation, MissingParentFolderThenAgreeAgain)
{
    std::string parent = scratch + "\\not-yet";
    std::string nested = parent + "\\Morivane";
    StartInstallation(nested, false, 0);
    EXPECT_EQ(kFolderMessage, Answer(IDOK));
    EXPECT_FALSE(Exists(parent));
    EXPECT_TRUE(IsShown(wizard, IDC_NEXT)) << "the wizard stays, its buttons shown";
    EXPECT_TRUE(IsShown(wizard, IDC_BACK));
    EXPECT_FALSE(IsShown(wizard, IDC_PROGRESS));

    // Back shows the path page; Next there installs at once.
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), NULL));
    Click(wizard, IDC_BACK);
    EXPECT_TRUE(WaitUntil([&] {
        return IsShown(wizard, IDC_PATH_EDIT) && !IsShown(wizard, IDC_ENGLISH) &&
               !IsShown(wizard, IDC_LICENCE_EN);
    }));
    Click(wizard, IDC_NEXT);
    EXPECT_EQ(kSuccess, Answer(IDOK));
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());
    target = nested;
    ExpectAllFiles();
}

// A folder typed relative to where the installer was started is made
// absolute: entering it (it exists) changes the current folder, yet files,
// settings and shortcuts all name that one folder.
TEST_F(Installation, RelativeFolderIsMadeAbsolute)
{
    ASSERT_TRUE(CreateDirectoryA((scratch + "\\Relative").c_str(), NULL));
    StartInstallation("Relative", false, 0, scratch);
    EXPECT_EQ(kSuccess, Answer(IDOK));
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());
    target = scratch + "\\Relative";
    ExpectAllFiles();
    EXPECT_EQ(target + "\\Morivane.exe", LinkTarget(GroupLink(names.product)));
}

// The longest folder that still holds every installed name within MAX_PATH
// installs: the run's working names add nothing to its paths.
TEST_F(Installation, LongestFolderThatHoldsEveryName)
{
    target = scratch + "\\";
    target.append(MAX_PATH - 2 - PAYLOAD_LONGEST_NAME - target.size(), 'L');
    StartInstallation(target, false, 0);
    EXPECT_EQ(kSuccess, Answer(IDOK));
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());
    ExpectAllFiles();
    EXPECT_EQ(PAYLOAD_ROWS, CountFolderEntries(target)) << "no working file is left";
}

// Shortcuts that cannot be made are reported, and the installation still
// counts as done.
TEST_F(Installation, ShortcutFailureStillSucceeds)
{
    std::string blocked = SpecialFolder(CSIDL_PROGRAMS) + "\\" + names.product;
    ASSERT_TRUE(WriteWholeFile(blocked, "a file where the group folder goes"));
    StartInstallation(target, false, 0);
    EXPECT_EQ("Failed to create an entry on Start Menu.", Answer(IDOK));
    EXPECT_EQ(kSuccess, Answer(IDOK));
    EXPECT_EQ(kOffer, Answer(IDCANCEL));
    EXPECT_EQ(0, run.WaitForExit());
    DeleteFileA(blocked.c_str());
    ExpectAllFiles();
}

// A file held open by another program: the installation fails, reports it,
// stops where the file was, takes back the files it wrote, and creates no
// shortcut.
TEST_F(Installation, LockedFilesFailTheInstallation)
{
    struct Case {
        const char *locked;
        int progress;
    } cases[] = {{"ChnBmp.bin", 25}, {"Morivane.exe", 75}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locked);
        target = MakeScratchFolder("locked");
        std::string locked = target + "\\" + c.locked;
        ASSERT_TRUE(WriteWholeFile(locked, "in use"));
        HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, hold);
        InstallerRun fresh;
        std::swap(run, fresh);
        lastMessage = NULL;
        StartInstallation(target, true, 0);
        EXPECT_EQ(kFailure, Answer(IDOK));
        EXPECT_EQ(c.progress, progressAtMessage);
        EXPECT_EQ(0, run.WaitForExit());
        CloseHandle(hold);
        EXPECT_EQ(1, CountFolderEntries(target));
        EXPECT_FALSE(Exists(GroupLink(names.product)));
        EXPECT_FALSE(Exists(DesktopLink()));
    }
}

// A first installation on a disk that fills up (the suite maps a small
// tmpfs as drive E: when it can): the folder it made is gone by the time
// the failure is reported.
TEST_F(Installation, FullDiskFailsCleanly)
{
    if (!Exists("E:\\"))
        GTEST_SKIP() << "no small drive E: in this Wine prefix";
    std::string filler = FillDriveE(64 * 1024);
    ASSERT_FALSE(filler.empty());
    target = "E:\\Morivane" + std::to_string(GetTickCount());
    StartInstallation(target, false, 0);
    EXPECT_EQ(kFailure, Answer(IDOK));
    EXPECT_FALSE(Exists(target));
    EXPECT_EQ(0, run.WaitForExit());
    DeleteFileA(filler.c_str());
    EXPECT_FALSE(Exists(GroupLink(names.product)));
}

}  // namespace

// The sample product and its uninstaller, as installed by the default payload.
namespace {


class Product : public Installation {
protected:
    void Install(int language, bool options)
    {
        InstallerRun fresh;
        std::swap(run, fresh);
        lastMessage = NULL;
        StartInstallation(target, options, language);
        ASSERT_EQ(kSuccess, Answer(IDOK));
        ASSERT_EQ(kOffer, Answer(IDCANCEL));
        ASSERT_EQ(0, run.WaitForExit());
    }
    // Starts the uninstaller the group's shortcut points at and answers its
    // question; returns the secondary text of its closing message, if any.
    std::string Uninstall(int answer)
    {
        std::string uninstaller = LinkTarget(GroupLink(names.uninstaller));
        EXPECT_EQ(target + "\\MorivaneUnInstall.exe", uninstaller);
        InstallerRun started;
        if (!started.Start(uninstaller, target))
            return "(not started)";
        HWND question = WaitForAnyWindow(MESSAGE_CAPTION);
        if (question == NULL)
            return "(no question)";
        EXPECT_EQ("Remove Morivane and all of its files from " + target + "?",
                  WindowText(Control(question, IDC_MSG_SUBTEXT)));
        HANDLE copy = OpenWindowProcess(question);
        Click(question, answer);
        WaitUntil([&] { return !IsWindow(question); });
        if (answer != IDYES) {
            // Declined: the uninstaller's copy ends without touching anything.
            bool ended = copy != NULL && WaitForSingleObject(copy, 10000) == WAIT_OBJECT_0;
            if (copy)
                CloseHandle(copy);
            return ended ? "" : "(still running)";
        }
        if (copy)
            CloseHandle(copy);
        HWND done = WaitForAnyWindow(MESSAGE_CAPTION);
        if (done == NULL)
            return "(no closing message)";
        std::string sub = WindowText(Control(done, IDC_MSG_SUBTEXT));
        Click(done, IDOK);
        WaitUntil([&] { return !IsWindow(done); });
        return sub;
    }
    int FilesLeft()
    {
        int left = 0;
        for (const PayloadEntry &f : PayloadTable)
            left += Exists(target + "\\" + f.fileName);
        return left;
    }
};

TEST_F(Product, ShowsTheLanguageTheInstallerRecorded)
{
    // The list offers the table's offered languages in its order.
    int item = 0;
    for (const LanguageRow &language : kLanguages) {
        if (!language.offered)
            continue;
        SCOPED_TRACE(language.listName);
        Install(item++, false);
        std::string program = LinkTarget(GroupLink(names.product));
        ASSERT_EQ(target + "\\Morivane.exe", program);
        InstallerRun product;
        ASSERT_TRUE(product.Start(program, target));
        HWND window = product.WaitForWindow(names.product.c_str());
        ASSERT_NE(nullptr, window) << "a window titled with the product name";
        EXPECT_EQ(language.listName, WindowText(Control(window, IDC_LANGUAGE_NAME)));
        Canvas label;
        ASSERT_TRUE(CaptureWindow(Control(window, IDC_MSG_TEXT), &label));
        EXPECT_TRUE(ShowsGlyph(label, 0xBDE7)) << "Chinese drawn from the installed atlas";
        DestroyCanvas(&label);
        if (language.value == LANGUAGE_SIMPLIFIED)
            SaveWindowPicture(window, "product_window.bmp");
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, product.WaitForExit());
    }
}

TEST_F(Product, UninstallerRemovesWhatWasInstalledAndNothingElse)
{
    Install(0, true);
    ASSERT_EQ(PAYLOAD_ROWS, FilesLeft());
    ExpectShortcuts(true);
    ASSERT_TRUE(WriteWholeFile(target + "\\my notes.txt", "mine"));

    EXPECT_EQ("Morivane has been removed.", Uninstall(IDYES));
    EXPECT_TRUE(WaitUntil([&] { return FilesLeft() == 0; }, 10000)) << FilesLeft() << " left";
    for (const ShortcutRow &row : ShortcutTable)
        EXPECT_FALSE(Exists(Link(row))) << Link(row);
    EXPECT_FALSE(Exists(SpecialFolder(CSIDL_PROGRAMS) + "\\" + names.product));
    EXPECT_TRUE(Exists(target + "\\my notes.txt")) << "the user's file stays";
    EXPECT_TRUE(Exists(target)) << "and with it the folder";
}

TEST_F(Product, UninstallerRemovesTheFolderWhenEmptyAndNothingWhenDeclined)
{
    Install(2, false);
    EXPECT_EQ("", Uninstall(IDNO));
    EXPECT_EQ(PAYLOAD_ROWS, FilesLeft()) << "declining removes nothing";
    EXPECT_TRUE(Exists(GroupLink(names.product)));

    // An earlier program that was running when an upgrade replaced it is left
    // under its discarded working name; the uninstaller takes it too.
    char discarded[MAX_PATH];
    ASSERT_TRUE(WorkingFileName(discarded, sizeof discarded, target.c_str(),
                                IDR_PRODUCT_EXE, WORK_DISCARDED));
    ASSERT_TRUE(WriteWholeFile(discarded, "earlier program"));
    EXPECT_EQ("Morivane has been removed.", Uninstall(IDYES));
    EXPECT_TRUE(WaitUntil([&] { return !Exists(target); }, 10000)) << "the empty folder goes";
}

}  // namespace
