// The installer's own texts: the bytes it draws against its readable table
// (converted here by Windows itself), against the texts it must show, and
// against the glyph atlas that draws them.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "app/folder_chooser.h"
#include "app/wizard.h"
#include "base/globals.h"
#include "message/message_dialog.h"
#include "render/glyph_atlas.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"
#include "test_support.h"
#include "texts.h"

namespace {

const WORD kTextTable = 9003;  // resources/texts.tsv, carried by the test program

// UTF-8 into `codePage` by the system's own converter; fails on a character
// the code page lacks.
bool Convert(const std::string &utf8, UINT codePage, std::string *out)
{
    WCHAR wide[512];
    int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, wide, 512);
    char bytes[1024];
    BOOL defaulted = FALSE;
    if (count == 0 || WideCharToMultiByte(codePage, 0, wide, -1, bytes, sizeof bytes, NULL,
                                          codePage == CP_UTF8 ? NULL : &defaulted) == 0)
        return false;
    *out = bytes;
    return !defaulted;
}

// name -> (code page, text) of every row of the carried table.
std::map<std::string, std::pair<std::string, std::string>> ReadTable()
{
    std::map<std::string, std::pair<std::string, std::string>> rows;
    HRSRC found = FindResourceA(NULL, MAKEINTRESOURCEA(kTextTable), RT_RCDATA);
    if (found == NULL)
        return rows;
    std::istringstream table(std::string((const char *)LockResource(LoadResource(NULL, found)),
                                         SizeofResource(NULL, found)));
    std::string line;
    while (std::getline(table, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        std::string name, page;
        if (!(fields >> name >> page) || name[0] == '#')
            continue;
        std::string text;
        std::getline(fields >> std::ws, text);
        rows[name] = {page, text};
    }
    return rows;
}

TEST(SystemTexts, BytesAreTheTableConvertedByWindows)
{
    auto table = ReadTable();
    ASSERT_EQ((size_t)kSystemTextCount, table.size());
    const std::map<std::string, int> pages = {
        {"gbk", TEXT_GBK}, {"big5", TEXT_BIG5}, {"ascii", TEXT_ASCII}};
    for (int i = 0; i < kSystemTextCount; ++i) {
        const SystemText &text = kSystemTexts[i];
        SCOPED_TRACE(text.name);
        ASSERT_EQ(1u, table.count(text.name));
        const auto &row = table[text.name];
        EXPECT_EQ(pages.at(row.first), text.codePage);
        std::string expected;
        ASSERT_TRUE(Convert(row.second, text.codePage, &expected));
        EXPECT_EQ(expected, text.bytes);
    }
}

// The caption a dialog's description gives control `id`.
const char *Caption(const DialogControl *controls, int count, int id)
{
    const DialogControl *row = FindDialogControl(controls, count, id);
    return row != NULL ? row->caption : NULL;
}
#define WIZARD kWizardControls, kWizardControlCount
#define MESSAGE kMessageControls, kMessageControlCount
#define CHOOSER kChooserControls, kChooserControlCount

// What the installer draws and shows, byte for byte, against the texts it
// must show (written here as a person reads them).
TEST(SystemTexts, DrawnAndShownTextsAreTheRequiredOnes)
{
    struct Case {
        const char *shown;
        const char *required;  // UTF-8
        UINT codePage;
    };
    WizardStep = STEP_PATH;
    const Case cases[] = {
        {Caption(MESSAGE, IDOK), u8"确认 OK", 936},
        {Caption(WIZARD, IDCANCEL), u8"取消 Cancel", 936},
        {Caption(WIZARD, IDC_BACK), u8"退一步 Back", 936},
        {Caption(MESSAGE, IDYES), u8"是 Yes", 936},
        {Caption(MESSAGE, IDNO), u8"否 No", 936},
        {Caption(WIZARD, IDC_NEXT), u8"下一步 Next", 936},
        {Caption(WIZARD, IDC_BROWSE), u8"改变 Browse ....", 936},
        {Caption(WIZARD, IDC_PATH_LABEL), u8"安装路径： (Install Path)", 936},
        {Caption(CHOOSER, IDC_DIRS_LABEL), u8"路径 (Directories):", 936},
        {Caption(WIZARD, IDC_TITLE_LABEL), u8"《墨瑞文》", 936},
        {Caption(CHOOSER, IDC_DRIVES_LABEL), u8"磁盘 (Drives):", 936},
        {Caption(WIZARD, IDC_EDITION_LABEL), u8"中文版", 936},
        {Caption(WIZARD, IDC_INSTALLER_LABEL), u8"安装程序", 936},
        {Caption(WIZARD, IDC_LANGUAGE_LABEL), u8"User Interface Language 用户界面语言",
         936},
        {Caption(WIZARD, IDC_DESKTOP_ICON), u8"建立桌面图标？  (Place an icon on Desktop)", 936},
        {Caption(WIZARD, IDC_AUTOSTART), u8"开机时自动启动？(Auto-start on boot)", 936},
        {kAgreeCaption, u8"同意/安装 Agree/Install", 936},
        {kOutOfMemoryText, u8"内存不够。安装无法继续。", 936},
        {kFolderFailureText,
         u8"无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。", 936},
        {kInstallFailedText, u8"安装失败！请检查一下系统后，再重新安装。谢谢！", 936},
        {kInstallDoneText, u8"祝贺您：安装顺利完成！", 936},
        {kSpeechOfferText, u8"下面安装微软的语音模块SAPI5.1.", 936},
        {kStartMenuFailureText,
         u8"无法在 Start 菜单中为本程序建立一个条目。很抱歉，只好请您以后自已建立了。", 936},
        {kGroupFolderFailureFormat, u8"无法建目录(%s)!", 936},
        {kProductNameSimplified, u8"奎尔特墨瑞文", 936},
        {kUninstallerNameSimplified, u8"奎尔特墨瑞文卸载", 936},
        {kProductNameTraditional, u8"墨瑞文", 950},
        {kUninstallerNameTraditional, u8"墨瑞文卸載", 950},
    };
    for (const Case &c : cases) {
        std::string required;
        ASSERT_TRUE(Convert(c.required, c.codePage, &required)) << c.required;
        ASSERT_NE(nullptr, c.shown) << c.required;
        EXPECT_EQ(required, c.shown) << c.required;
    }
}

// The installer can draw only the cells its atlas ships: every character of
// a GBK text lies in them, as itself, with ink.
TEST(SystemTexts, EveryGbkCharacterIsAShippedCellWithInk)
{
    std::vector<unsigned char> atlas =
        InflatedResource(GetModuleHandleA(NULL), IDR_GLYPH_ATLAS, ATLAS_BUFFER_SIZE);
    ASSERT_FALSE(atlas.empty());
    for (int i = 0; i < kSystemTextCount; ++i) {
        if (kSystemTexts[i].codePage != TEXT_GBK)
            continue;
        for (const unsigned char *p = (const unsigned char *)kSystemTexts[i].bytes; *p; ++p) {
            if (*p < 0x80)
                continue;
            unsigned lead = p[0], trail = p[1], code = lead << 8 | trail;
            bool shipped = trail >= 0xA1 && trail <= 0xFE &&
                           ((lead >= 0xA1 && lead <= 0xA7) || (lead >= 0xB0 && lead <= 0xD6) ||
                            (lead == 0xD7 && trail <= 0xF9));
            GlyphCell cell = LookupGlyph((unsigned short)code);
            bool ink = false;
            for (int y = 0; y < 16 && !ink; ++y)
                for (int x = 0; x < 16 && !ink; ++x)
                    ink = AtlasInk(atlas, cell.page, cell.x + x, cell.y + y);
            EXPECT_TRUE(shipped && ink) << kSystemTexts[i].name << std::hex << " 0x" << code;
            ++p;
        }
    }
}

}  // namespace
