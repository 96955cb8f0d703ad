// End to end: the built installer started under Wine and walked through its
// wizard by window messages, as a user would with mouse and keyboard.
#include <gtest/gtest.h>

#include <io.h>
#include <stdio.h>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "resources/resource_ids.h"
#include "texts.h"

namespace {

const int kPathPage[] = {IDC_DESKTOP_ICON, IDC_AUTOSTART, IDC_PATH_EDIT, IDC_PATH_LABEL,
                         IDC_BROWSE};
const int kLanguagePage[] = {IDC_LANGUAGE_LABEL, IDC_LANGUAGE_COMBO};
const unsigned short kNextGlyph = 0xCFC2;   // first character of "Next"
const unsigned short kAgreeGlyph = 0xCDAC;  // first character of "Agree/Install"

enum Page { PATH_PAGE, LANGUAGE_PAGE, LICENCE_PAGE };

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
    // Exactly the controls of one page are shown.
    bool ShowsPage(Page page)
    {
        for (int id : kPathPage)
            if (IsShown(wizard, id) != (page == PATH_PAGE))
                return false;
        for (int id : kLanguagePage)
            if (IsShown(wizard, id) != (page == LANGUAGE_PAGE))
                return false;
        if (IsShown(wizard, IDC_ENGLISH) != (page == LICENCE_PAGE))
            return false;
        bool english = CheckState(wizard, IDC_ENGLISH) == BST_CHECKED;
        if (IsShown(wizard, IDC_LICENCE_EN) != (page == LICENCE_PAGE && english))
            return false;
        return IsShown(wizard, IDC_LICENCE_ZH) == (page == LICENCE_PAGE && !english);
    }
    void ExpectPage(Page page, bool backShown)
    {
        EXPECT_TRUE(WaitUntil([&] { return ShowsPage(page); })) << "page " << page;
        EXPECT_EQ(backShown, IsShown(wizard, IDC_BACK));
        EXPECT_EQ(backShown, IsEnabled(wizard, IDC_BACK));
    }
    bool NextShows(unsigned short glyph)
    {
        Canvas canvas;
        bool shown = CaptureWindow(Control(wizard, IDC_NEXT), &canvas) && ShowsGlyph(canvas, glyph);
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
    HWND combo = Control(wizard, IDC_LANGUAGE_COMBO);
    ASSERT_EQ(3, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("English", ComboItem(combo, 0));
    EXPECT_EQ("Chinese(Simplified)", ComboItem(combo, 1));
    EXPECT_EQ("Chinese(Traditional)", ComboItem(combo, 2));
    EXPECT_EQ(0, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(i, SendMessageA(combo, CB_GETITEMDATA, i, 0));
    EXPECT_TRUE(NextShows(kNextGlyph));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page0.bmp"));
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
}

TEST_F(Wizard, WalksForwardAndBackThroughEveryPage)
{
    Click(wizard, IDC_NEXT);
    ExpectPage(LANGUAGE_PAGE, true);
    EXPECT_TRUE(NextShows(kNextGlyph));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page1.bmp"));

    Click(wizard, IDC_NEXT);
    ExpectPage(LICENCE_PAGE, true);
    EXPECT_EQ(BST_CHECKED, CheckState(wizard, IDC_ENGLISH));
    EXPECT_GT(WindowText(Control(wizard, IDC_LICENCE_EN)).size(), 100u);
    EXPECT_TRUE(NextShows(kAgreeGlyph));
    EXPECT_FALSE(NextShows(kNextGlyph));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page2_en.bmp"));

    Click(wizard, IDC_ENGLISH);  // unchecked: the Chinese list
    EXPECT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_ZH); }));
    ExpectPage(LICENCE_PAGE, true);
    EXPECT_EQ(27, SendMessageA(Control(wizard, IDC_LICENCE_ZH), LB_GETCOUNT, 0, 0));
    EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page2_zh.bmp"));
    Click(wizard, IDC_ENGLISH);
    EXPECT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_EN); }));
    EXPECT_EQ(27, SendMessageA(Control(wizard, IDC_LICENCE_ZH), LB_GETCOUNT, 0, 0))
        << "loaded once";

    Click(wizard, IDC_ENGLISH);  // Chinese again, then back and forward
    EXPECT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_ZH); }));
    Click(wizard, IDC_BACK);
    ExpectPage(LANGUAGE_PAGE, true);
    EXPECT_TRUE(NextShows(kNextGlyph));
    Click(wizard, IDC_NEXT);
    ExpectPage(LICENCE_PAGE, true);
    EXPECT_EQ(BST_CHECKED, CheckState(wizard, IDC_ENGLISH)) << "step 1 to 2 checks English";

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
    Sleep(300);  // a Next that followed would have moved on by now
    EXPECT_TRUE(ShowsPage(PATH_PAGE));
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
        if (std::string(scheme.name) == "black")
            EXPECT_TRUE(SaveWindowPicture(wizard, "wizard_page0_high_contrast_black.bmp"));
        Click(wizard, IDCANCEL);
        EXPECT_EQ(0, run.WaitForExit());
    }
}

// Cancel, Esc and the close box on every page end the installer with 0.
TEST(WizardEnds, CancelEscapeAndTheCloseBoxOnEveryPage)
{
    const char *ways[] = {"cancel", "escape", "close box"};
    for (int pageSteps = 0; pageSteps < 3; ++pageSteps) {
        for (const char *way : ways) {
            SCOPED_TRACE(std::string(way) + " after " + std::to_string(pageSteps) + " Next");
            InstallerRun run;
            ASSERT_TRUE(run.Start(InstallerPath()));
            HWND wizard = run.WaitForWizard();
            ASSERT_NE(nullptr, wizard);
            for (int i = 0; i < pageSteps; ++i) {
                Click(wizard, IDC_NEXT);
                Sleep(100);
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

TEST(WizardStart, UnusableAtlasEndsWithOneAndNoWindow)
{
    std::string copy = CopyWithDamagedResource(IDR_GLYPH_ATLAS);
    ASSERT_FALSE(copy.empty());

    InstallerRun run;
    ASSERT_TRUE(run.Start(copy));
    EXPECT_EQ(1, run.WaitForExit());
    EXPECT_EQ(nullptr, run.WaitForWindow("Morivane Installer", 0));
    EXPECT_EQ(nullptr, run.WaitForWindow("Dorvinel Install Message", 0));
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
    Sleep(200);
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
