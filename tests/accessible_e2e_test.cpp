// What a screen reader hears: every visible drawn control of each wizard
// page, the folder chooser and a message dialog, read from this process
// through Active Accessibility as a reader reads the running installer, and
// compared with the text table's UTF-16 of what each control draws.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>

#include "app/folder_chooser.h"
#include "app/wizard.h"
#include "base/text_resource.h"
#include "installer_driver.h"
#include "message/message_dialog.h"
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

// The UTF-16 the text table gives for `text`; plain ASCII is its own.
std::wstring Spoken(const std::string &text)
{
    for (int i = 0; i < kSystemTextCount; ++i)
        if (text == kSystemTexts[i].bytes)
            return kSystemTexts[i].wide;
    if (std::any_of(text.begin(), text.end(), [](char c) { return (unsigned char)c >= 0x80; }))
        return L"(not in the text table)";
    return std::wstring(text.begin(), text.end());
}

// What names `row` as its dialog shows at wizard `step` (-1: another dialog):
// the caption drawn by the control it names itself after, or its window text.
std::wstring ShownName(HWND dialog, const DialogControl *rows, int count,
                       const DialogControl &row, int step)
{
    if (row.nameFrom == NAME_NONE)
        return L"";
    int from = row.nameFrom == NAME_SYSTEM_TEXT ? row.id : row.nameFrom;
    const DialogControl *named = FindDialogControl(rows, count, from);
    const char *caption = step >= 0 ? WizardCaption(from, step) : NULL;
    if (caption == NULL && named != NULL && row.nameFrom != NAME_SYSTEM_TEXT)
        caption = named->caption;
    return Spoken(caption != NULL ? caption : WindowText(Control(dialog, from)));
}

// Every control of a dialog's description that is shown and has a role is
// heard with that role and the name it shows; at a wizard `step`, those of
// its page must be shown. Returns how many were heard.
int ExpectHeard(HWND dialog, const DialogControl *rows, int count, int step, const char *where)
{
    int heardCount = 0;
    for (int i = 0; i < count; ++i) {
        const DialogControl &row = rows[i];
        HWND control = Control(dialog, row.id);
        bool ownPage = step >= 0 && row.group == PAGE_PATH + step;
        if (row.role == ROLE_NONE || (!ownPage && (control == NULL || !IsWindowVisible(control))))
            continue;
        SCOPED_TRACE(std::string(where) + ": control " + std::to_string(row.id));
        Heard heard = Hear(control);
        EXPECT_TRUE(heard.name == ShownName(dialog, rows, count, row, step));
        EXPECT_EQ(row.role, heard.role);
        EXPECT_EQ(0, heard.state & STATE_SYSTEM_INVISIBLE);
        ++heardCount;
    }
    return heardCount;
}

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

TEST(ScreenReader, HearsEveryDrawnControlAsDrawnOnEveryPageAndDialog)
{
    CoInitialize(NULL);
    InstallerRun run;
    ASSERT_TRUE(run.Start(InstallerPath()));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    ExpectHeard(wizard, kWizardControls, kWizardControlCount, STEP_PATH, "path page");
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
    EXPECT_EQ(kChooserControlCount,
              ExpectHeard(chooser, kChooserControls, kChooserControlCount, -1, "folder chooser"));
    Click(chooser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));

    Click(wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LANGUAGE_COMBO); }));
    ExpectHeard(wizard, kWizardControls, kWizardControlCount, STEP_LANGUAGE, "language page");
    Click(wizard, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_ENGLISH); }));
    if (CheckState(wizard, IDC_ENGLISH) == BST_CHECKED)
        Click(wizard, IDC_ENGLISH);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(wizard, IDC_LICENCE_ZH); }));
    ExpectHeard(wizard, kWizardControls, kWizardControlCount, STEP_LICENCE, "licence page");
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
    EXPECT_EQ(3, ExpectHeard(message, kMessageControls, kMessageControlCount, -1, "message dialog"));
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
