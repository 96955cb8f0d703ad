// The interface language in MorivaneUI.ini, checked byte for byte on real
// files, attributes included.
#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "base/globals.h"
#include "install/install_state.h"
#include "install/file_commit.h"
#include "install/settings_file.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

const DWORD kReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = MakeScratchFolder("settings");
        ASSERT_FALSE(folder.empty());
        strcpy(InstallDir, folder.c_str());
        path = folder + "\\MorivaneUI.ini";
        BeginInstallRecord(InstallDir);
    }
    // Writes `before` (read-only and hidden, as installed), records `value`,
    // and returns the file afterwards.
    std::string Update(const std::string &before, int value)
    {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // left by the case before
        EXPECT_TRUE(WriteWholeFile(path, before));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA(path.c_str(), kReadOnlyHidden);
        UiLanguage = value;
        EXPECT_EQ(1, WriteUiLanguage());
        EXPECT_EQ(kReadOnlyHidden, GetFileAttributesA(path.c_str()) & kReadOnlyHidden);
        std::vector<unsigned char> after = ReadWholeFile(path);
        return std::string(after.begin(), after.end());
    }
    std::string folder, path;
};

TEST_F(SettingsFile, DeliveredFileGainsTheConfigSection)
{
    std::vector<unsigned char> delivered =
        InflatedResource(GetModuleHandleA(NULL), IDR_SETTINGS_INI, PAYLOAD_BUFFER_SIZE);
    ASSERT_FALSE(delivered.empty());
    std::string text(delivered.begin(), delivered.end());
    ASSERT_EQ(std::string::npos, text.find("UILanguage"));
    for (int value : {0, 1, 2})
        EXPECT_EQ(text + "\r\n[Config]\r\nUILanguage=" + std::to_string(value) + "\r\n\r\n",
                  Update(text, value));
}

TEST_F(SettingsFile, ExistingKeyLinesReadTheNewValue)
{
    struct Case {
        const char *before;
        int value;
        const char *after;
    } cases[] = {
        {"[Config]\r\nUILanguage=2\r\nOther=1\r\n", 0, "[Config]\r\nUILanguage=0\r\nOther=1\r\n"},
        {"UILanguage=12\r\nB=2\r\n", 0, "UILanguage=0 \r\nB=2\r\n"},
        {"A=1\r\nUILanguage=2", 1, "A=1\r\nUILanguage=1"},
        {"x UILanguage=2\r\n", 1, "UILanguage=1  \r\n"},
        {"UILanguage=1\r\nUILanguage=1\r\n", 2, "UILanguage=2\r\nUILanguage=1\r\n"},
        {"uilanguage=1\r\n", 2, "uilanguage=1\r\n\r\n[Config]\r\nUILanguage=2\r\n\r\n"},
        {"", 1, "\r\n[Config]\r\nUILanguage=1\r\n\r\n"},
        {"A=1", 0, "A=1\r\n[Config]\r\nUILanguage=0\r\n\r\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.after, Update(c.before, c.value)) << c.before;
}

// A line longer than the 256-byte buffer arrives in pieces; the piece that
// holds the key is rewritten and the rest of that line blanked.
TEST_F(SettingsFile, KeyInTheSecondPieceOfALongLine)
{
    std::string head(300, 'a');
    std::string after = Update(head + "UILanguage=2 trailing\r\nNext=1\r\n", 0);
    std::string expected =
        head.substr(0, 255) + "UILanguage=0" + std::string(45 + 21 - 12, ' ') + "\r\nNext=1\r\n";
    EXPECT_EQ(expected, after);
}

TEST_F(SettingsFile, MissingFileIsNotCreated)
{
    UiLanguage = 1;
    EXPECT_EQ(1, WriteUiLanguage());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

}  // namespace
