// Start-up and wizard logic that needs no running installer: environment
// detection under the suite's locales, Enter routing targets, licence line
// splitting and folder strings.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>

#include "app/folder_chooser.h"
#include "base/format.h"
#include "base/globals.h"
#include "app/environment.h"
#include "app/startup.h"
#include "app/wizard.h"

namespace {

TEST(DisplayLanguage, OnlyChineseOnADoubleByteCodePageCounts)
{
    struct Case {
        int dbcs;
        LANGID language;
        int expected;
    } cases[] = {
        {1, 0x0804, 1}, {1, 0x1004, 1}, {1, 0x0404, 2}, {1, 0x0C04, 2}, {1, 0x1404, 2},
        {1, 0x0411, 0}, {1, 0x0412, 0}, {1, 0x0409, 0}, {0, 0x0804, 0}, {0, 0x0404, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, DecideDisplayLanguage(c.dbcs, c.language)) << std::hex << c.language;
}

// Registered once per locale: Wine takes the code page and system language
// from LC_ALL, which it also passes into the Windows environment.
TEST(DisplayLanguage, DetectedFromTheRunningSystem)
{
    const char *locale = getenv("LC_ALL");
    ASSERT_NE(nullptr, locale);
    struct Case {
        const char *locale;
        int expected;
    } cases[] = {{"zh_CN.UTF-8", 1}, {"zh_HK.UTF-8", 2}, {"zh_TW.UTF-8", 2},
                 {"ja_JP.UTF-8", 0}, {"C", 0}};
    DisplayLanguage = -1;
    DetectEnvironment();
    for (const Case &c : cases) {
        if (std::string(locale) == c.locale) {
            EXPECT_EQ(c.expected, DisplayLanguage) << locale << ", code page " << GetACP();
        }
    }
    EXPECT_EQ(1, IsWindowsNt);
    EXPECT_EQ(0, IsVersion3);
}

TEST(EnterRouting, OnlyPushButtonsTakeEnterThemselves)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    struct Case {
        const char *className;
        DWORD style;
        int expected;
    } cases[] = {
        {"BUTTON", BS_OWNERDRAW, 1},     {"Button", BS_PUSHBUTTON, 1},
        {"button", BS_DEFPUSHBUTTON, 1}, {"BUTTON", BS_AUTOCHECKBOX, 0},
        {"BUTTON", BS_CHECKBOX, 0},      {"BUTTON", BS_RADIOBUTTON, 0},
        {"BUTTON", BS_AUTORADIOBUTTON, 0}, {"BUTTON", BS_3STATE, 0},
        {"BUTTON", BS_AUTO3STATE, 0},    {"BUTTON", BS_GROUPBOX, 1},
        {"EDIT", 0, 0},                  {"LISTBOX", 0, 0},
    };
    for (const Case &c : cases) {
        HWND control = CreateWindowA(c.className, "", WS_CHILD | c.style, 0, 0, 10, 10, parent,
                                     NULL, NULL, NULL);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.expected, IsEnterTargetButton(control)) << c.className << " " << c.style;
        DestroyWindow(control);
    }
    EXPECT_EQ(0, IsEnterTargetButton(NULL));
    DestroyWindow(parent);
}

TEST(LicenceLines, CutAtCarriageReturnsSkippingOneLineFeed)
{
    struct Case {
        const char *text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\n\r\nc\r\n", {"a", "", "c"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\nb\r\n", {"a", "\nb"}},     // an LF not after a CR stays
        {"a\r\nlast", {"a"}},               // a last piece without CR is dropped
        {"", {}},
        {"no end", {}},
    };
    for (const Case &c : cases) {
        std::string text = c.text;
        char *lines[8];
        int count = SplitLicenceLines(&text[0], lines, 8);
        ASSERT_EQ(c.lines.size(), (size_t)count) << c.text;
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(c.lines[i], lines[i]) << c.text;
    }
}

TEST(LicenceLines, StopAtTheLimit)
{
    std::string text;
    for (int i = 0; i < 600; ++i)
        text += "line\r\n";
    std::vector<char *> lines(LICENCE_MAX_LINES);
    EXPECT_EQ(LICENCE_MAX_LINES, SplitLicenceLines(&text[0], lines.data(), LICENCE_MAX_LINES));
}

TEST(Folders, DefaultFolderIsOnTheWindowsDrive)
{
    char out[MAX_PATH];
    FormatDefaultInstallFolder(out, sizeof out, "D:\\WINNT");
    EXPECT_STREQ("D:\\Morivane", out);
    char small[6];
    FormatDefaultInstallFolder(small, sizeof small, "C:\\WINDOWS");
    EXPECT_STREQ("C:\\Mo", small) << "cut, never overrun";
}

// The system formatter does not terminate a cut text; FormatText must.
TEST(FormatText, AlwaysTerminatedAndSaysWhetherItFitted)
{
    char out[6];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(1, FormatText(out, sizeof out, "%s", "abcde"));  // 5 + NUL
    EXPECT_STREQ("abcde", out);
    memset(out, 'x', sizeof out);
    EXPECT_EQ(0, FormatText(out, sizeof out, "%s%d", "abcde", 7));
    EXPECT_STREQ("abcde", out);
    EXPECT_EQ(0, FormatText(out, sizeof out, "%s", "a much longer text"));
    EXPECT_EQ('\0', out[5]);
    EXPECT_EQ(0, FormatText(out, 0, "%s", "x"));
    EXPECT_EQ(1, FormatText(out, sizeof out, "%c:%d", 'D', 42));
    EXPECT_STREQ("D:42", out);
    // A cut inside a double-byte character drops its lead byte too.
    EXPECT_EQ(0, FormatText(out, sizeof out, "%s", "abcd\xD6\xD0"));
    EXPECT_STREQ("abcd", out);
    EXPECT_EQ(1, FormatText(out, sizeof out, "%s", "abc\xD6\xD0"));
    EXPECT_STREQ("abc\xD6\xD0", out);
    // A lone lead byte that ends the text at the limit: nothing is cut.
    EXPECT_EQ(6u, FitTextLength("abcde\xB0", 6));
}

TEST(Folders, OneTrailingBackslashIsRemoved)
{
    struct Case {
        const char *in, *out;
    } cases[] = {{"D:\\", "D:"}, {"C:\\a\\b", "C:\\a\\b"}, {"C:\\a\\\\", "C:\\a\\"}, {"", ""}};
    for (const Case &c : cases) {
        char path[MAX_PATH];
        strcpy(path, c.in);
        TrimTrailingBackslash(path);
        EXPECT_STREQ(c.out, path);
    }
}

}  // namespace
