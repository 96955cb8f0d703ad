// What a screen reader hears: every visible drawn control of each wizard
// page, the folder chooser and a message dialog, read from this process
// through Active Accessibility as a reader reads the running installer, and
// compared with the text table's UTF-16 of what each control draws.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>

#include "base/text_resource.h"
#include "installer_driver.h"
#include "resources/resource_ids.h"
#include "texts.h"

namespace {

const GUID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Heard {
    std::wstring name;
    long role = -1;
    long state = -1;
};

Heard Hear(HWND control, long child = CHILDID_SELF)
{
    Heard heard;
    IAccessible *object = NULL;
    if (AccessibleObjectFromWindow(control, (DWORD)OBJID_CLIENT, kIidAccessible,
                                   (void **)&object) != S_OK)
        return heard;
    VARIANT which;
    which.vt = VT_I4;
    which.lVal = child;
    BSTR name = NULL;
    if (object->get_accName(which, &name) == S_OK && name != NULL)
        heard.name = name;
    SysFreeString(name);
    VARIANT value;
    if (object->get_accRole(which, &value) == S_OK && value.vt == VT_I4)
        heard.role = value.lVal;
    if (object->get_accState(which, &value) == S_OK && value.vt == VT_I4)
        heard.state = value.lVal;
    object->Release();
    return heard;
}

// What get_accName answers for a child given as a VARIANT of `type`.
HRESULT NameAnswer(HWND control, VARTYPE type, long child)
{
    IAccessible *object = NULL;
    if (AccessibleObjectFromWindow(control, (DWORD)OBJID_CLIENT, kIidAccessible,
                                   (void **)&object) != S_OK)
        return E_FAIL;
    VARIANT which;
    which.vt = type;
    which.lVal = child;
    BSTR name = NULL;
    HRESULT answer = object->get_accName(which, &name);
    SysFreeString(name);
    object->Release();
    return answer;
}

// The UTF-16 the text table gives for one of its texts; empty for null.
std::wstring Spoken(const char *text)
{
    for (int i = 0; text != NULL && i < kSystemTextCount; ++i)
        if (kSystemTexts[i].bytes == text)
            return kSystemTexts[i].wide;
    return L"";
}

// One control as a reader must hear it: its drawn text (null: no name).
struct Expected {
    int id;
    const char *drawn;
    long role;
};

void ExpectHeard(HWND dialog, const Expected *rows, size_t count, const char *where)
{
    for (size_t i = 0; i < count; ++i) {
        Heard heard = Hear(Control(dialog, rows[i].id));
        std::wstring want = Spoken(rows[i].drawn);
        EXPECT_TRUE(heard.name == want) << where << ": control " << rows[i].id;
        EXPECT_EQ(rows[i].role, heard.role) << where << ": control " << rows[i].id;
        EXPECT_EQ(0, heard.state & STATE_SYSTEM_INVISIBLE) << where << ": control " << rows[i].id;
    }
}

const Expected kPathPage[] = {
    {IDC_TITLE_LABEL, kTitleCaption, ROLE_SYSTEM_STATICTEXT},
    {IDC_INSTALLER_LABEL, kInstallerCaption, ROLE_SYSTEM_STATICTEXT},
    {IDC_BLANK_LABEL, NULL, ROLE_SYSTEM_STATICTEXT},
    {IDC_PRODUCT_ICON, NULL, ROLE_SYSTEM_GRAPHIC},
    {IDC_DIVIDER, NULL, ROLE_SYSTEM_SEPARATOR},
    {IDC_PATH_LABEL, kPathLabelCaption, ROLE_SYSTEM_STATICTEXT},
    {IDC_PATH_EDIT, kPathLabelCaption, ROLE_SYSTEM_TEXT},
    {IDC_BROWSE, kBrowseCaption, ROLE_SYSTEM_PUSHBUTTON},
    {IDC_DESKTOP_ICON, kDesktopIconCaption, ROLE_SYSTEM_CHECKBUTTON},
    {IDC_AUTOSTART, kAutoStartCaption, ROLE_SYSTEM_CHECKBUTTON},
    {IDC_NEXT, kNextCaption, ROLE_SYSTEM_PUSHBUTTON},
    {IDCANCEL, kCancelCaption, ROLE_SYSTEM_PUSHBUTTON},
};
const Expected kLanguagePage[] = {
    {IDC_LANGUAGE_LABEL, kLanguageLabelCaption, ROLE_SYSTEM_STATICTEXT},
    {IDC_LANGUAGE_COMBO, kLanguageLabelCaption, ROLE_SYSTEM_COMBOBOX},
    {IDC_BACK, kBackCaption, ROLE_SYSTEM_PUSHBUTTON},
    {IDC_NEXT, kNextCaption, ROLE_SYSTEM_PUSHBUTTON},
};
const Expected kLicencePage[] = {
    {IDC_LICENCE_ZH, kLicenceListName, ROLE_SYSTEM_LIST},
    {IDC_BACK, kBackCaption, ROLE_SYSTEM_PUSHBUTTON},
    {IDC_NEXT, kAgreeCaption, ROLE_SYSTEM_PUSHBUTTON},
};
const Expected kChooser[] = {
    {IDC_DIRS_LABEL, kDirectoriesCaption, ROLE_SYSTEM_STATICTEXT},
    {IDC_DRIVES_LABEL, kDrivesCaption, ROLE_SYSTEM_STATICTEXT},
    {IDCANCEL, kCancelCaption, ROLE_SYSTEM_PUSHBUTTON},
};
const Expected kFolderFailure[] = {
    {IDC_MSG_TEXT, kFolderFailureText, ROLE_SYSTEM_STATICTEXT},
    {IDOK, kOkCaption, ROLE_SYSTEM_PUSHBUTTON},
};

// The first line of the Chinese licence the installer carries, as Unicode.
std::wstring FirstLicenceLine()
{
    static char text[LICENCE_BUFFER_SIZE];
    HMODULE image = LoadLibraryExA(InstallerPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    unsigned long length = sizeof text - 1;
    if (image == NULL || InflateTextResource(image, IDR_LICENCE_ZH, (unsigned char *)text, &length) != 0)
        return L"";
    FreeLibrary(image);
    WCHAR wide[LICENCE_BUFFER_SIZE / 2];
    int n = MultiByteToWideChar(936, 0, text, (int)(strcspn(text, "\r")), wide, LICENCE_BUFFER_SIZE / 2);
    return std::wstring(wide, n);
}

#define EXPECT_ROWS(dialog, rows, where) ExpectHeard(dialog, rows, sizeof rows / sizeof rows[0], where)

TEST(ScreenReader, HearsEveryDrawnControlAsDrawnOnEveryPageAndDialog)
{
    CoInitialize(NULL);
    InstallerRun run;
    ASSERT_TRUE(run.Start(InstallerPath()));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    EXPECT_ROWS(wizard, kPathPage, "path page");
    // A button holds no child 1, and a child is a VT_I4.
    EXPECT_EQ(E_INVALIDARG, NameAnswer(Control(wizard, IDC_BROWSE), VT_I4, 1));
    EXPECT_EQ(E_INVALIDARG, NameAnswer(Control(wizard, IDC_BROWSE), VT_I2, CHILDID_SELF));

    HWND desktop = Control(wizard, IDC_DESKTOP_ICON);
    EXPECT_EQ(STATE_SYSTEM_CHECKED, Hear(desktop).state & STATE_SYSTEM_CHECKED);
    Click(wizard, IDC_DESKTOP_ICON);
    ASSERT_TRUE(WaitUntil([&] { return CheckState(wizard, IDC_DESKTOP_ICON) != BST_CHECKED; }));
    EXPECT_EQ(0, Hear(desktop).state & STATE_SYSTEM_CHECKED);

    PostMessageA(wizard, WM_COMMAND, IDC_BROWSE, 0);
    HWND chooser = run.WaitForWindow("Choose Destination Directory", 10000);
    ASSERT_NE(nullptr, chooser);
    EXPECT_ROWS(chooser, kChooser, "folder chooser");
    Click(chooser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));

    Click(wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LANGUAGE_COMBO); }));
    EXPECT_ROWS(wizard, kLanguagePage, "language page");
    Click(wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_ENGLISH); }));
    if (CheckState(wizard, IDC_ENGLISH) == BST_CHECKED)
        Click(wizard, IDC_ENGLISH);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_ZH); }));
    EXPECT_ROWS(wizard, kLicencePage, "licence page");
    HWND licence = Control(wizard, IDC_LICENCE_ZH);
    Heard line = Hear(licence, 1);
    EXPECT_TRUE(!line.name.empty() && line.name == FirstLicenceLine()) << "first licence line";
    EXPECT_EQ(ROLE_SYSTEM_LISTITEM, line.role);
    long lines = (long)SendMessageA(licence, LB_GETCOUNT, 0, 0);
    EXPECT_EQ(E_INVALIDARG, NameAnswer(licence, VT_I4, lines + 1)) << "past the last line";

    // A folder that cannot be made brings the message dialog.
    Click(wizard, IDC_BACK);
    Click(wizard, IDC_BACK);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_PATH_EDIT); }));
    SendMessageA(Control(wizard, IDC_PATH_EDIT), WM_SETTEXT, 0, (LPARAM)"Q:\\no\\drive");
    HWND message = NULL;
    for (int i = 0; i < 3 && message == NULL; ++i) {
        Click(wizard, IDC_NEXT);
        message = run.WaitForWindow(MESSAGE_CAPTION, 3000);
    }
    ASSERT_NE(nullptr, message);
    EXPECT_ROWS(message, kFolderFailure, "message dialog");
    Heard sub = Hear(Control(message, IDC_MSG_SUBTEXT));
    EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, sub.role);
    EXPECT_TRUE(sub.name == L"Cannot create folder! Please check folder path.");
    Click(message, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(message); }));
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
    CoUninitialize();
}

}  // namespace
