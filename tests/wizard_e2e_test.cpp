// End to end: the built installer started under Wine and walked through its
// wizard by window messages, as a user would with mouse and keyboard.
#include <gtest/gtest.h>

#include <io.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "app/languages.h"
#include "app/wizard.h"
#include "installer_driver.h"
#include "resources/resource_ids.h"
#include "texts.h"

namespace {

const unsigned short kNextGlyph = 0xCFC2;   // first character of "Next"
const unsigned short kAgreeGlyph = 0xCDAC;  // first character of "Agree/Install"

enum Page { PATH_PAGE, LANGUAGE_PAGE, LICENCE_PAGE };

// Exactly the controls of one page are shown.
bool ShowsPage(HWND wizard, Page page)
{
    // The path and language pages are groups of the wizard's description.
    for (int i = 0; i < kWizardControlCount; ++i) {
        const DialogControl &control = kWizardControls[i];
        if ((control.group == PAGE_PATH && IsShown(wizard, control.id) != (page == PATH_PAGE)) ||
            (control.group == PAGE_LANGUAGE &&
             IsShown(wizard, control.id) != (page == LANGUAGE_PAGE)))
            return false;
    }
    if (IsShown(wizard, IDC_ENGLISH) != (page == LICENCE_PAGE))
        return false;
    bool english = CheckState(wizard, IDC_ENGLISH) == BST_CHECKED;
    if (IsShown(wizard, IDC_LICENCE_EN) != (page == LICENCE_PAGE && english))
        return false;
    return IsShown(wizard, IDC_LICENCE_ZH) == (page == LICENCE_PAGE && !english);
}

int LicenceLines(HWND wizard)
{
    return (int)SendMessageA(Control(wizard, IDC_LICENCE_ZH), LB_GETCOUNT, 0, 0);
}

class Wizard : public ::testing::Test {
protected:
    void SetUp() override
    {
        DWORD start = GetTickCount();
        ASSERT_TRUE(run.Start(InstallerPath()));
        wizard = run.WaitForWizard();
        shownAfterMs = GetTickCount() - start;
        ASSERT_NE(nullptr, wizard) << "no visible wizard";
    }
    void ExpectPage(Page page, bool backShown)
    {
        EXPECT_TRUE(WaitUntil([&] { return ShowsPage(wizard, page); })) << "page " << page;
        EXPECT_EQ(backShown, IsShown(wizard, IDC_BACK));
        EXPECT_EQ(backShown, IsEnabled(wizard, IDC_BACK));
    }
    // Whether Next shows `glyph` and not `other`, on the same picture.
    bool NextShows(unsigned short glyph, unsigned short other = 0)
    {
        Canvas canvas;
        bool shown = CaptureWindow(Control(wizard, IDC_NEXT), &canvas) &&
                     ShowsGlyph(canvas, glyph) && !(other && ShowsGlyph(canvas, other));
        DestroyCanvas(&canvas);
        return shown;
    }

    InstallerRun run;
    HWND wizard = NULL;
    DWORD shownAfterMs = 0;
};

TEST_F(Wizard, OpensOnThePathPageWithItsDefaults)
{
    printf("wizard visible %lu ms after the process was started\n", shownAfterMs);
    ExpectPage(PATH_PAGE, false);
    char windowsDir[MAX_PATH];
    GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    EXPECT_EQ(std::string(1, windowsDir[0]) + ":\\Morivane",
              WindowText(Control(wizard, IDC_PATH_EDIT)));
    EXPECT_EQ(BST_CHECKED, CheckState(wizard, IDC_DESKTOP_ICON));
    EXPECT_EQ(BST_UNCHECKED, CheckState(wizard, IDC_AUTOSTART));
    // The offered languages in the table's order, English first and chosen;
    // German, which has a settings file, never.
    HWND combo = Control(wizard, IDC_LANGUAGE_COMBO);
    int item = 0;
    for (const LanguageRow &language : kLanguages) {
        if (!language.offered)
            continue;
        EXPECT_EQ(language.listName, ComboItem(combo, item));
        EXPECT_NE("German", ComboItem(combo, item));
        EXPECT_EQ(language.value, SendMessageA(combo, CB_GETITEMDATA, item, 0));
        ++item;
    }
    EXPECT_EQ(item, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("English", ComboItem(combo, 0));
    EXPECT_EQ(0, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    EXPECT_TRUE(NextShows(kNextGlyph, kAgreeGlyph));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page0.bmp"));

    // Nothing keeps a second copy from showing a wizard of its own.
    InstallerRun second;
    ASSERT_TRUE(second.Start(InstallerPath()));
    HWND other = second.WaitForWizard();
    EXPECT_NE(nullptr, other);
    EXPECT_NE(wizard, other);
    Click(other, IDCANCEL);
    EXPECT_EQ(0, second.WaitForExit());
    EXPECT_TRUE(IsWindowVisible(wizard)) << "the first copy goes on";
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

TEST_F(Wizard, WalksForwardAndBackThroughEveryPage)
{
    Click(wizard, IDC_NEXT);
    ExpectPage(LANGUAGE_PAGE, true);
    EXPECT_TRUE(WaitUntil([&] { return NextShows(kNextGlyph, kAgreeGlyph); }));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page1.bmp"));

    Click(wizard, IDC_NEXT);
    ExpectPage(LICENCE_PAGE, true);
    EXPECT_EQ(BST_CHECKED, CheckState(wizard, IDC_ENGLISH));
    EXPECT_GT(WindowText(Control(wizard, IDC_LICENCE_EN)).size(), 100u);
    EXPECT_TRUE(WaitUntil([&] { return NextShows(kAgreeGlyph, kNextGlyph); }));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page2_en.bmp"));

    // The texts are loaded once: what the English edit holds now survives
    // every later switch of the licence language.
    const char kEdited[] = "edited after loading";
    SendMessageA(Control(wizard, IDC_LICENCE_EN), WM_SETTEXT, 0, (LPARAM)kEdited);
    Click(wizard, IDC_ENGLISH);  // unchecked: the Chinese list
    EXPECT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_ZH); }));
    ExpectPage(LICENCE_PAGE, true);
    EXPECT_EQ(27, LicenceLines(wizard));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page2_zh.bmp"));
    Click(wizard, IDC_ENGLISH);
    EXPECT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_EN); }));
    EXPECT_EQ(kEdited, WindowText(Control(wizard, IDC_LICENCE_EN))) << "loaded once";
    EXPECT_EQ(27, LicenceLines(wizard));

    Click(wizard, IDC_ENGLISH);  // Chinese again, then back and forward
    EXPECT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_ZH); }));
    Click(wizard, IDC_BACK);
    ExpectPage(LANGUAGE_PAGE, true);
    EXPECT_TRUE(WaitUntil([&] { return NextShows(kNextGlyph, kAgreeGlyph); }));
    Click(wizard, IDC_NEXT);
    ExpectPage(LICENCE_PAGE, true);
    EXPECT_EQ(BST_CHECKED, CheckState(wizard, IDC_ENGLISH)) << "step 1 to 2 checks English";
    EXPECT_EQ(kEdited, WindowText(Control(wizard, IDC_LICENCE_EN))) << "not loaded again";

    Click(wizard, IDC_BACK);
    ExpectPage(LANGUAGE_PAGE, true);
    Click(wizard, IDC_BACK);
    ExpectPage(PATH_PAGE, false);
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

TEST_F(Wizard, EnterOnBackPressesBackOnly)
{
    Click(wizard, IDC_NEXT);
    ExpectPage(LANGUAGE_PAGE, true);
    PressEnterOn(wizard, IDC_BACK);
    ExpectPage(PATH_PAGE, false);
    // A Next posted with the Back would be handled before this marker.
    ASSERT_TRUE(SettlePostedMessages(Control(wizard, IDC_PATH_EDIT)));
    EXPECT_TRUE(ShowsPage(wizard, PATH_PAGE));
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

TEST_F(Wizard, EnterInThePathEditOrOnACheckBoxActsAsNext)
{
    PressEnterOn(wizard, IDC_PATH_EDIT);
    ExpectPage(LANGUAGE_PAGE, true);
    Click(wizard, IDC_BACK);
    ExpectPage(PATH_PAGE, false);
    PressEnterOn(wizard, IDC_AUTOSTART);
    ExpectPage(LANGUAGE_PAGE, true);
    EXPECT_EQ(BST_UNCHECKED, CheckState(wizard, IDC_AUTOSTART));
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

// The four high-contrast schemes, written into this prefix's
// HKCU\Control Panel\Colors (each new process reads them) before the
// installer starts, and put back afterwards, even when a check fails: the
// other tests compare pixels with the default colours.
class HighContrast : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0,
                                               KEY_QUERY_VALUE | KEY_SET_VALUE, &colours));
        for (const char *name : kNames) {
            char value[64] = "";
            DWORD size = sizeof value;
            bool present = RegQueryValueExA(colours, name, NULL, NULL, (BYTE *)value, &size) ==
                           ERROR_SUCCESS;
            saved.push_back(present ? value : "");
        }
    }
    void TearDown() override
    {
        for (size_t i = 0; i < saved.size(); ++i) {
            if (saved[i].empty())
                RegDeleteValueA(colours, kNames[i]);
            else
                Write(kNames[i], saved[i]);
        }
        RegCloseKey(colours);
    }
    void Write(const char *name, const std::string &value)
    {
        RegSetValueExA(colours, name, 0, REG_SZ, (const BYTE *)value.c_str(),
                       (DWORD)value.size() + 1);
    }

    const char *const kNames[6] = {"ButtonFace", "ButtonText", "Window",
                                   "WindowText", "ButtonHilight", "ButtonShadow"};
    HKEY colours = NULL;
    std::vector<std::string> saved;
};

TEST_F(HighContrast, FirstPageShowsItsChineseInTheSchemesTextColour)
{
    struct Scheme {
        const char *name, *face, *text;
        uint32_t ink;
    } schemes[] = {
        {"black", "0 0 0", "255 255 255", 0x00FFFFFF},
        {"white", "255 255 255", "0 0 0", 0x00000000},
        {"1", "0 0 0", "255 255 0", 0x00FFFF00},
        {"2", "0 0 0", "0 255 0", 0x0000FF00},
    };
    // Each owner-drawn caption and check box of the page, by its first character.
    const struct {
        int id;
        const char *caption;
    } captions[] = {
        {IDC_TITLE_LABEL, kTitleCaption},     {IDC_INSTALLER_LABEL, kInstallerCaption},
        {IDC_PATH_LABEL, kPathLabelCaption},  {IDC_BROWSE, kBrowseCaption},
        {IDC_NEXT, kNextCaption},             {IDCANCEL, kCancelCaption},
        {IDC_DESKTOP_ICON, kDesktopIconCaption}, {IDC_AUTOSTART, kAutoStartCaption},
    };
    for (const Scheme &scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        for (const char *name : {"ButtonFace", "Window"})
            Write(name, scheme.face);
        for (const char *name : {"ButtonText", "WindowText", "ButtonHilight"})
            Write(name, scheme.text);
        Write("ButtonShadow", "128 128 128");
        InstallerRun run;
        ASSERT_TRUE(run.Start(InstallerPath()));
        HWND wizard = run.WaitForWizard();
        ASSERT_NE(nullptr, wizard);
        for (const auto &c : captions) {
            unsigned short code = (unsigned char)c.caption[0] << 8 | (unsigned char)c.caption[1];
            Canvas canvas;
            EXPECT_TRUE(CaptureWindow(Control(wizard, c.id), &canvas) &&
                        ShowsGlyph(canvas, code, scheme.ink))
                << c.id;
            DestroyCanvas(&canvas);
        }
        if (std::string(scheme.name) == "black") {
            EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page0_high_contrast_black.bmp"));
        }
        Click(wizard, IDCANCEL);
        EXPECT_EQ(0, run.WaitForExit());
    }
}

// Cancel, Esc and the close box on every page end the installer with 0.
TEST(WizardEnds, CancelEscapeAndTheCloseBoxOnEveryPage)
{
    const char *ways[] = {"cancel", "escape", "close box"};
    for (Page page : {PATH_PAGE, LANGUAGE_PAGE, LICENCE_PAGE}) {
        for (const char *way : ways) {
            SCOPED_TRACE(std::string(way) + " on page " + std::to_string(page));
            InstallerRun run;
            ASSERT_TRUE(run.Start(InstallerPath()));
            HWND wizard = run.WaitForWizard();
            ASSERT_NE(nullptr, wizard);
            for (int i = PATH_PAGE; i < page; ++i) {
                Click(wizard, IDC_NEXT);
                ASSERT_TRUE(WaitUntil([&] { return ShowsPage(wizard, Page(i + 1)); }));
            }
            if (std::string(way) == "cancel")
                Click(wizard, IDCANCEL);
            else if (std::string(way) == "escape")
                PostMessageA(FocusOf(wizard), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            else
                PostMessageA(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_EQ(0, run.WaitForExit());
        }
    }
    EXPECT_NE(0, _access("C:\\Morivane", 0)) << "nothing was installed";
}

// Start-up that cannot go on ends at once with 1 and shows nothing: an atlas
// that does not inflate, a wizard template that cannot be made into a dialog
// (its one control is of a class nobody registered).
TEST(WizardStart, UnusableAtlasOrWizardEndsWithOneAndNoWindow)
{
    // DLGTEMPLATE: style, extended style, one control, x, y, cx, cy, no menu,
    // class or title; then its DLGITEMTEMPLATE: style, extended style, x, y,
    // cx, cy, id, the class name, an empty title and no creation data.
    WORD dialog[32] = {LOWORD(WS_POPUP | WS_VISIBLE), HIWORD(WS_POPUP | WS_VISIBLE), 0, 0, 1,
                       0, 0, 100, 50, 0, 0, 0,
                       LOWORD(WS_CHILD | WS_VISIBLE), HIWORD(WS_CHILD | WS_VISIBLE), 0, 0, 0, 0,
                       10, 10, 1};
    memcpy(&dialog[21], L"Nowhere", sizeof L"Nowhere");
    struct Case {
        const char *what;
        std::string copy;
    } cases[] = {
        {"atlas", CopyWithDamagedResource(IDR_GLYPH_ATLAS)},
        {"wizard", CopyWithReplacedResource(RT_DIALOG, IDD_MAIN, dialog, sizeof dialog)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.copy.empty());
        InstallerRun run;
        ASSERT_TRUE(run.Start(c.copy));
        bool windowSeen = true;
        EXPECT_EQ(1, run.WaitForExitWatching(&windowSeen, 5000));
        EXPECT_FALSE(windowSeen);
    }
}

// A load of the licences that stopped after the Chinese lines (the English
// text does not inflate) is repeated at the next visit: the list holds the
// lines once, not twice.
TEST(WizardLicence, AReloadDoesNotDoubleTheChineseLines)
{
    std::string copy = CopyWithDamagedResource(IDR_LICENCE_EN);
    ASSERT_FALSE(copy.empty());
    InstallerRun run;
    ASSERT_TRUE(run.Start(copy));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    Click(wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return ShowsPage(wizard, LANGUAGE_PAGE); }));
    for (int visit = 1; visit <= 2; ++visit) {
        Click(wizard, IDC_NEXT);
        ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_ENGLISH); }));
        ASSERT_TRUE(RoundTrip(wizard));
        EXPECT_EQ(27, LicenceLines(wizard)) << "visit " << visit;
        EXPECT_FALSE(IsShown(wizard, IDC_LICENCE_EN)) << "no licence text is shown";
        Click(wizard, IDC_BACK);
        ASSERT_TRUE(WaitUntil([&] { return ShowsPage(wizard, LANGUAGE_PAGE); }));
    }
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

class FolderChooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        start = MakeScratchFolder("chooser");
        ASSERT_FALSE(start.empty());
        ASSERT_TRUE(CreateDirectoryA((start + "\\alpha").c_str(), NULL));
    }
    HWND OpenChooser(HWND wizard)
    {
        PostMessageA(wizard, WM_COMMAND, IDC_BROWSE, 0);
        return run.WaitForWindow("Choose Destination Directory", 10000);
    }
    std::string PathEdit(HWND wizard) { return WindowText(Control(wizard, IDC_PATH_EDIT)); }
    // Opens a folder of the directory list as a double-click does.
    bool OpenFolder(HWND chooser, const char *entry)
    {
        HWND list = Control(chooser, 1121);
        LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)entry);
        if (index == LB_ERR)
            return false;
        SendMessageA(list, LB_SETCURSEL, index, 0);
        PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(1121, LBN_DBLCLK), (LPARAM)list);
        return WaitUntil([&] {
            return SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)entry) == LB_ERR;
        });
    }
    bool Closed(HWND chooser)
    {
        return WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); });
    }

    std::string start;
    InstallerRun run;
};

TEST_F(FolderChooser, OkTakesTheOpenedFolderAndTheWorkingDirectoryComesBack)
{
    ASSERT_TRUE(run.Start(InstallerPath(), start));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    std::string initial = PathEdit(wizard);

    HWND chooser = OpenChooser(wizard);
    ASSERT_NE(nullptr, chooser);
    ASSERT_TRUE(OpenFolder(chooser, "[alpha]"));
    // Its two labels and Cancel show their Chinese from the atlas.
    Canvas picture;
    EXPECT_TRUE(WaitUntil([&] {
        bool shown = CaptureWindow(chooser, &picture) && ShowsGlyph(picture, 0xC2B7) &&
                     ShowsGlyph(picture, 0xB4C5) && ShowsGlyph(picture, 0xC8A1);
        DestroyCanvas(&picture);
        return shown;
    })) << "路径, 磁盘 and 取消";
    EXPECT_TRUE(SaveWindowPicture(chooser, "folder_chooser.bmp"));
    Click(chooser, IDOK);
    ASSERT_TRUE(Closed(chooser));
    EXPECT_TRUE(WaitUntil([&] { return _stricmp(PathEdit(wizard).c_str(),
                                                (start + "\\alpha").c_str()) == 0; }))
        << PathEdit(wizard);

    // Opened again, the chooser starts where the installer started: Enter in
    // the directory list, which has the focus, is OK and gives it.
    chooser = OpenChooser(wizard);
    ASSERT_NE(nullptr, chooser);
    ASSERT_EQ(Control(chooser, 1121), FocusOf(chooser));
    PostMessageA(FocusOf(chooser), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ASSERT_TRUE(Closed(chooser));
    EXPECT_TRUE(WaitUntil([&] { return _stricmp(PathEdit(wizard).c_str(), start.c_str()) == 0; }))
        << PathEdit(wizard);

    // Enter on Cancel is Cancel, and keeps the earlier choice though another
    // folder is open.
    chooser = OpenChooser(wizard);
    ASSERT_NE(nullptr, chooser);
    ASSERT_TRUE(OpenFolder(chooser, "[alpha]"));
    PressEnterOn(chooser, IDCANCEL);
    ASSERT_TRUE(Closed(chooser));
    ASSERT_TRUE(RoundTrip(wizard));  // Browse has returned
    EXPECT_EQ(0, _stricmp(PathEdit(wizard).c_str(), start.c_str())) << PathEdit(wizard);
    EXPECT_NE(initial, PathEdit(wizard));

    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

TEST_F(FolderChooser, DriveRootLosesItsBackslash)
{
    ASSERT_TRUE(run.Start(InstallerPath(), "C:\\"));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    HWND chooser = OpenChooser(wizard);
    ASSERT_NE(nullptr, chooser);
    Click(chooser, IDOK);
    ASSERT_TRUE(Closed(chooser));
    EXPECT_TRUE(WaitUntil([&] { return PathEdit(wizard) == "C:"; })) << PathEdit(wizard);
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

}  // namespace
