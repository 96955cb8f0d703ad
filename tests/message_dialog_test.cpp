// The message dialog: its layout formulas, and the real modal dialog sized,
// placed and answered under Wine, with pictures for a person to look at.
#include <gtest/gtest.h>

#include <io.h>
#include <stdio.h>
#include <string.h>
#include <string>

#include "base/globals.h"
#include "message/message_dialog.h"
#include "render/gbk_text.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "resources/resource_ids.h"
#include "installer_driver.h"
#include "message_watcher.h"
#include "test_support.h"
#include "texts.h"

namespace {

MessageMetrics Metrics(int mode, int mainWidth, int mainBytes, int subWidth, int subHeight)
{
    MessageMetrics m = {};
    m.mode = mode;
    m.mainWidth = mainWidth;
    m.mainHeight = 16;
    m.mainBytes = mainBytes;
    m.subWidth = subWidth;
    m.subHeight = subHeight;
    m.buttonWidth = 110;
    m.buttonHeight = 29;
    m.dlgFrameX = 3;
    m.screenX = 1024;
    m.screenY = 768;
    m.captionY = 19;
    return m;
}

TEST(MessageLayout, WidthGainsTwoButtonHeightsBelow81Bytes)
{
    const int below = MESSAGE_SHORT_TEXT_BYTES - 1, at = MESSAGE_SHORT_TEXT_BYTES;
    ASSERT_EQ(81, at);
    MessageWindowPlacement at80 = PlaceMessageWindow(Metrics(MESSAGE_OK_CANCEL, 500, below, 0, 0));
    MessageWindowPlacement at81 = PlaceMessageWindow(Metrics(MESSAGE_OK_CANCEL, 500, at, 0, 0));
    EXPECT_EQ(500 + 6 + 58, at80.width);
    EXPECT_EQ(500 + 6, at81.width);
    EXPECT_EQ(3 * (16 + 29), at80.height);
    EXPECT_EQ((1024 - 564) / 2, at80.window.left);
    EXPECT_EQ((768 - 135) / 2, at80.window.top);
    EXPECT_EQ(564, at80.window.right - at80.window.left);
    EXPECT_EQ(135 + 19, at80.window.bottom - at80.window.top);
}

TEST(MessageLayout, ShortTextsGetTheMinimumWidthButAreCentredByTheirOwn)
{
    struct Case {
        int mode, minWidth;
    } cases[] = {{MESSAGE_OK, 220}, {MESSAGE_OK_CANCEL, 330}, {2, 330}, {MESSAGE_YES_NO, 330}};
    for (const Case &c : cases) {
        MessageWindowPlacement p = PlaceMessageWindow(Metrics(c.mode, 32, 4, 40, 13));
        EXPECT_EQ(c.minWidth, p.minWidth) << c.mode;
        EXPECT_EQ(c.minWidth, p.window.right - p.window.left) << c.mode;
        EXPECT_EQ((1024 - (40 + 6 + 58)) / 2, p.window.left) << c.mode;
        EXPECT_EQ(3 * (16 + 29) + 26, p.height);
    }
}

TEST(MessageLayout, ButtonsSitOnTheTextWidthOrOnTheClientWhenWidened)
{
    RECT client = {0, 0, 554, 135};
    MessageMetrics wide = Metrics(MESSAGE_YES_NO, 500, MESSAGE_SHORT_TEXT_BYTES, 0, 0);
    MessageControlLayout l = LayOutMessageControls(wide, PlaceMessageWindow(wide), client);
    EXPECT_EQ(IDYES, l.firstButton);
    EXPECT_EQ(IDNO, l.secondButton);
    EXPECT_EQ((506 - 7 * 110 / 3) / 2, l.first.x);
    EXPECT_EQ(l.first.x + 4 * 110 / 3, l.second.x);
    EXPECT_EQ(135 - 3 * 29 / 2, l.first.y);

    MessageMetrics narrow = Metrics(0, 32, 4, 0, 0);
    RECT narrowClient = {0, 0, 214, 135};
    l = LayOutMessageControls(narrow, PlaceMessageWindow(narrow), narrowClient);
    EXPECT_EQ(IDOK, l.firstButton);
    EXPECT_EQ(0, l.secondButton);
    EXPECT_EQ((214 - 110) / 2, l.first.x) << "centred on the client, not on Width";
    EXPECT_EQ(135 - 2 * 29, l.first.y);
    EXPECT_EQ(10, l.mainText.y);
    EXPECT_EQ(48, l.mainText.height);
    EXPECT_EQ(214, l.mainText.width);
    EXPECT_EQ(63, l.subText.y);
}

// Drives the modal dialog from a thread timer: the dialog's own modal loop
// dispatches it once the dialog is up and painted.
struct Visit {
    const char *mainText = "";
    int action = 0;  // a button id to press, or VK_ESCAPE, or -1 for the close box
    // Or keys, posted to the focus: T Tab, R Enter; 0 takes the focus away.
    const char *keys = nullptr;
    std::string picture;
    HWND dialog = NULL;
    RECT window = {}, client = {};
    RECT controls[8] = {};
    bool visible[8] = {};
    MessageMetrics expected = {};
};
Visit *CurrentVisit;
const int kControlIds[8] = {IDOK, IDCANCEL, IDYES, IDNO, IDC_MSG_TEXT, IDC_MSG_SUBTEXT, 0, 0};

void CALLBACK VisitDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    Visit &v = *CurrentVisit;
    HWND dialog = FindThreadMessageDialog();
    if (dialog == NULL)
        return;
    KillTimer(NULL, timer);
    v.dialog = dialog;
    GetWindowRect(dialog, &v.window);
    GetClientRect(dialog, &v.client);
    for (int i = 0; i < 6; ++i) {
        HWND control = GetDlgItem(dialog, kControlIds[i]);
        GetWindowRect(control, &v.controls[i]);
        MapWindowPoints(NULL, dialog, (POINT *)&v.controls[i], 2);
        v.visible[i] = IsWindowVisible(control) != 0;
    }
    // The expectation: the dialog's own measurements, with the buttons of
    // the template's size.
    MessageMetrics &m = v.expected;
    MeasureMessageDialog(dialog, v.mainText, &m);
    RECT template_ = {0, 0, MESSAGE_BUTTON_WIDTH, MESSAGE_BUTTON_HEIGHT};
    MapDialogRect(dialog, &template_);
    EXPECT_EQ(template_.right, m.buttonWidth);
    EXPECT_EQ(template_.bottom, m.buttonHeight);

    if (!v.picture.empty())
        SaveWindowPicture(dialog, v.picture.c_str());
    if (v.keys != nullptr) {
        for (const char *key = v.keys; *key; ++key) {
            if (*key == '0') {
                SetFocus(NULL);
                continue;
            }
            WPARAM vk = *key == 'T' ? VK_TAB : VK_RETURN;
            HWND target = GetFocus() ? GetFocus() : dialog;
            PostMessageA(target, WM_KEYDOWN, vk, 0x00000001);
            PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
        }
    } else if (v.action == VK_ESCAPE) {
        PostMessageA(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    } else if (v.action == -1) {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        SendMessageA(GetDlgItem(dialog, v.action), BM_CLICK, 0, 0);
    }
}

class MessageDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AppInstance = GetModuleHandleA(NULL);
        ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
    }
    static void TearDownTestSuite() { ReleaseGlyphAtlas(); }

    int Show(Visit *v, const char *subText, int mode)
    {
        CurrentVisit = v;
        SetTimer(NULL, 0, 100, VisitDialog);
        return ShowMessageDialog(v->mainText, subText, mode, NULL);
    }
    static const RECT &Control(const Visit &v, int id)
    {
        for (int i = 0; i < 6; ++i)
            if (kControlIds[i] == id)
                return v.controls[i];
        return v.controls[7];
    }
    static bool Visible(const Visit &v, int id)
    {
        for (int i = 0; i < 6; ++i)
            if (kControlIds[i] == id)
                return v.visible[i];
        return false;
    }
    static void ExpectBox(const RECT &actual, int x, int y, int width, int height)
    {
        EXPECT_EQ(x, actual.left);
        EXPECT_EQ(y, actual.top);
        EXPECT_EQ(width, actual.right - actual.left);
        EXPECT_EQ(height, actual.bottom - actual.top);
    }
};

const char kInstallSpeech[] = "\xCA\xC7\xB7\xF1\xB0\xB2\xD7\xB0\xD3\xEF\xD2\xF4\xD2\xFD\xC7\xE6"
                              "\xA3\xBF";
const char kContinue[] = "\xCA\xC7\xB7\xF1\xBC\xCC\xD0\xF8\xB0\xB2\xD7\xB0\xA3\xBF";

TEST_F(MessageDialog, IsSizedPlacedAndLaidOutByTheFormulas)
{
    Visit v;
    v.mainText = kOutOfMemoryText;
    v.action = IDOK;
    ASSERT_EQ(IDOK, Show(&v, "Memory not enough!", 0));
    ASSERT_NE(nullptr, v.dialog);
    const MessageMetrics &m = v.expected;
    EXPECT_EQ(16 * 12, m.mainWidth) << "twelve characters, 16 pixels each";

    MessageWindowPlacement p = PlaceMessageWindow(m);
    ExpectBox(v.window, p.window.left, p.window.top, p.window.right - p.window.left,
              p.height + m.captionY);
    MessageControlLayout l = LayOutMessageControls(m, p, v.client);
    ExpectBox(Control(v, IDOK), l.first.x, l.first.y, m.buttonWidth, m.buttonHeight);
    ExpectBox(Control(v, IDC_MSG_TEXT), v.client.left, 10, v.client.right, 48);
    ExpectBox(Control(v, IDC_MSG_SUBTEXT), v.client.left, 63, v.client.right, 2 * m.subHeight);
    EXPECT_TRUE(Visible(v, IDOK));
    EXPECT_FALSE(Visible(v, IDCANCEL));
    EXPECT_FALSE(Visible(v, IDYES));
    EXPECT_FALSE(Visible(v, IDNO));
    EXPECT_TRUE(Visible(v, IDC_MSG_SUBTEXT));
}

TEST_F(MessageDialog, EmptySecondaryTextHidesItsControl)
{
    for (const char *sub : {(const char *)NULL, ""}) {
        Visit v;
        v.mainText = kContinue;
        v.action = IDOK;
        ASSERT_EQ(IDOK, Show(&v, sub, 1));
        EXPECT_FALSE(Visible(v, IDC_MSG_SUBTEXT));
        EXPECT_EQ(3 * (16 + v.expected.buttonHeight) + v.expected.captionY,
                  v.window.bottom - v.window.top);
    }
}

TEST_F(MessageDialog, ModesShowTheirButtonsAndReturnThem)
{
    struct Case {
        int mode;
        int first, second;
    } cases[] = {{1, IDOK, IDCANCEL}, {2, IDOK, IDCANCEL}, {4, IDYES, IDNO}};
    for (const Case &c : cases) {
        for (int press : {c.first, c.second}) {
            SCOPED_TRACE(c.mode);
            Visit v;
            v.mainText = kInstallSpeech;
            v.action = press;
            EXPECT_EQ(press, Show(&v, "Install the speech runtime?", c.mode));
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
                EXPECT_EQ(id == c.first || id == c.second, Visible(v, id)) << id;
            MessageControlLayout l =
                LayOutMessageControls(v.expected, PlaceMessageWindow(v.expected), v.client);
            ExpectBox(Control(v, c.first), l.first.x, l.first.y, v.expected.buttonWidth,
                      v.expected.buttonHeight);
            ExpectBox(Control(v, c.second), l.second.x, l.second.y, v.expected.buttonWidth,
                      v.expected.buttonHeight);
        }
    }
}

TEST_F(MessageDialog, EscapeAndTheCloseBoxGiveCancelInEveryMode)
{
    for (int mode : {0, 1, 4}) {
        for (int action : {(int)VK_ESCAPE, -1}) {
            Visit v;
            v.mainText = kOutOfMemoryText;
            v.action = action;
            EXPECT_EQ(IDCANCEL, Show(&v, "Memory not enough!", mode))
                << "mode " << mode << (action == -1 ? " close box" : " Esc");
        }
    }
}

// Enter presses the button that has the focus, Tab moves the focus between
// the buttons shown, and with none focused Enter is the first button.
TEST_F(MessageDialog, EnterPressesTheFocusedButton)
{
    struct Case {
        int mode;
        const char *keys;
        int expected;
    } cases[] = {
        {0, "R", IDOK},  {1, "R", IDOK}, {1, "TR", IDCANCEL}, {1, "TTR", IDOK},
        {4, "R", IDYES}, {4, "TR", IDNO}, {4, "0R", IDYES},    {1, "T0R", IDOK},
    };
    for (const Case &c : cases) {
        Visit v;
        v.mainText = kContinue;
        v.keys = c.keys;
        EXPECT_EQ(c.expected, Show(&v, "Continue?", c.mode)) << c.mode << " " << c.keys;
    }
}

TEST_F(MessageDialog, SecondaryTextIsCutTo127Bytes)
{
    std::string longText(300, 'x');
    Visit v;
    v.mainText = kContinue;
    v.action = IDOK;
    ASSERT_EQ(IDOK, Show(&v, longText.c_str(), 0));
    EXPECT_EQ(std::string(127, 'x'), std::string(MessageSubText));
}

// Pictures of the three kinds of dialog, in build/test-output.
TEST_F(MessageDialog, WritesPicturesOfEachMode)
{
    struct Case {
        int mode;
        const char *main, *sub;
        int press;
    } cases[] = {
        {0, kOutOfMemoryText, "Memory not enough!", IDOK},
        {1, kInstallSpeech, "Install the speech runtime now?", IDCANCEL},
        {4, kContinue, "Continue the installation?", IDNO},
    };
    for (const Case &c : cases) {
        Visit v;
        v.mainText = c.main;
        v.action = c.press;
        char name[64];
        snprintf(name, sizeof name, "message_mode%d_cp%u.bmp", c.mode, GetACP());
        v.picture = name;
        EXPECT_EQ(c.press, Show(&v, c.sub, c.mode));
        EXPECT_EQ(0, _access(name, 0)) << name;
    }
}

}  // namespace
