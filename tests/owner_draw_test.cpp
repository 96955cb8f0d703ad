// Owner-drawn buttons, labels, licence lines and check boxes, painted by the
// real painters into memory bitmaps and compared pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/folder_chooser.h"
#include "app/wizard.h"
#include "base/globals.h"
#include "message/message_dialog.h"
#include "render/gbk_text.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"
#include "test_support.h"
#include "texts.h"

namespace {

uint32_t SysPixel(int index) { return PixelOf(GetSysColor(index)); }

// The row that describes control `id` in the dialog that has it: the
// chooser's and the message dialog's first, since 1010 is the chooser's
// Drives label as well as the wizard's English box.
const DialogControl *RowOf(int id)
{
    const DialogControl *row = FindDialogControl(kChooserControls, kChooserControlCount, id);
    if (row == NULL)
        row = FindDialogControl(kMessageControls, kMessageControlCount, id);
    return row != NULL ? row : FindDialogControl(kWizardControls, kWizardControlCount, id);
}

const uint32_t kOutside = 0x00123456;  // canvas colour outside the controls
const RECT kItem = {10, 8, 110, 32};   // a 100 x 24 button

class OwnerDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AppInstance = GetModuleHandleA(NULL);
        ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
    }
    static void TearDownTestSuite() { ReleaseGlyphAtlas(); }

    void SetUp() override
    {
        WizardStep = 0;
        parent = CreateWindowA("STATIC", "owner draw test", WS_POPUP, 0, 0, 300, 200, NULL,
                               NULL, NULL, NULL);
        ASSERT_NE(nullptr, parent);
        ASSERT_TRUE(CreateCanvas(&canvas, 160, 48, kOutside));
        ASSERT_TRUE(CreateCanvas(&reference, 160, 48, kOutside));
    }
    void TearDown() override
    {
        DestroyCanvas(&canvas);
        DestroyCanvas(&reference);
        DestroyWindow(parent);
    }

    // A button described as its dialog describes it.
    HWND Button(int id, const char *text = "")
    {
        HWND button = CreateWindowA("BUTTON", text, WS_CHILD | BS_OWNERDRAW, 0, 0, 100, 24,
                                    parent, (HMENU)(INT_PTR)id, NULL, NULL);
        if (RowOf(id) != NULL)
            DescribeDialog(parent, RowOf(id), 1);
        return button;
    }
    void Paint(Canvas *target, int id, UINT action, UINT state, const RECT &rect = kItem,
               const char *text = "")
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = id;
        item.itemAction = action;
        item.itemState = state;
        item.hwndItem = Button(id, text);
        item.hDC = target->dc;
        item.rcItem = rect;
        // As the wizard paints: Next follows its page.
        DrawOwnerButton(&item, WizardCaption(id, WizardStep));
        DestroyWindow(item.hwndItem);
    }
    // Line `index` of licence list `list`, painted into the canvas at kItem.
    void PaintLicenceLine(HWND list, UINT index, UINT state)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = IDC_LICENCE_ZH;
        item.itemID = index;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = list;
        item.hDC = canvas.dc;
        item.rcItem = kItem;
        DrawLicenceItem(&item, parent);
    }
    // The reference picture of a flat face with `caption` drawn where a
    // centred (or left-aligned) caption belongs.
    void PaintReferenceCaption(const char *caption, int align, const RECT &rect = kItem)
    {
        FillRect(reference.dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        SIZE size = MeasureGbkText(reference.dc, caption);
        POINT at = CaptionOrigin(rect, size.cx, align, 0);
        DrawGbkText(reference.dc, at.x, at.y, caption);
    }
    // Pixels that differ inside `rect` less `inset` on every side (3 leaves
    // out the two bevel rings and the outer line of a button).
    int Differences(const RECT &rect = kItem, int inset = 3)
    {
        int count = 0;
        for (int y = rect.top + inset; y < rect.bottom - inset; ++y)
            for (int x = rect.left + inset; x < rect.right - inset; ++x)
                count += PixelAt(canvas, x, y) != PixelAt(reference, x, y);
        return count;
    }
    int InteriorDifferences() { return Differences(); }
    int CountPixels(uint32_t colour, const RECT &rect = kItem)
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += PixelAt(canvas, x, y) == colour;
        return count;
    }
    // Bounding box of black pixels (caption ink) in the canvas.
    RECT InkBox()
    {
        RECT box = {10000, 10000, -1, -1};
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x)
                if (PixelAt(canvas, x, y) == kBlack) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

    HWND parent = NULL;
    Canvas canvas;
    Canvas reference;
};

TEST_F(OwnerDraw, BevelRingsAreLightTopLeftAndDarkBottomRightReversedWhenPressed)
{
    const uint32_t light = SysPixel(COLOR_BTNHIGHLIGHT), dark = SysPixel(COLOR_BTNSHADOW);
    ASSERT_NE(light, dark);
    const int l = kItem.left, t = kItem.top, r = kItem.right, b = kItem.bottom;
    const int midX = (l + r) / 2, midY = (t + b) / 2;
    for (int pressed = 0; pressed <= 1; ++pressed) {
        SCOPED_TRACE(pressed ? "pressed" : "normal");
        Paint(&canvas, IDOK, ODA_DRAWENTIRE, pressed ? ODS_SELECTED : 0);
        const uint32_t a = pressed ? dark : light, bColour = pressed ? light : dark;
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(a, PixelAt(canvas, midX, t + i)) << "top ring " << i;
            EXPECT_EQ(a, PixelAt(canvas, l + i, midY)) << "left ring " << i;
            EXPECT_EQ(bColour, PixelAt(canvas, midX, b - i - 1)) << "bottom ring " << i;
            EXPECT_EQ(bColour, PixelAt(canvas, r - i - 1, midY)) << "right ring " << i;
        }
        // Outer ring: a pen-B line on the bottom and right only.
        EXPECT_EQ(bColour, PixelAt(canvas, midX, b - 1));
        EXPECT_EQ(bColour, PixelAt(canvas, r - 1, midY));
        EXPECT_EQ(SysPixel(COLOR_BTNFACE), PixelAt(canvas, midX, t));
        EXPECT_EQ(SysPixel(COLOR_BTNFACE), PixelAt(canvas, l, midY));
        EXPECT_EQ(kOutside, PixelAt(canvas, r, midY)) << "nothing outside the item";
        EXPECT_EQ(kOutside, PixelAt(canvas, midX, b));
    }
}

TEST_F(OwnerDraw, PressedCaptionMovesTwoRightAndOneDown)
{
    Paint(&canvas, IDOK, ODA_DRAWENTIRE, 0);
    RECT normal = InkBox();
    Paint(&canvas, IDOK, ODA_DRAWENTIRE, ODS_SELECTED);
    RECT pressed = InkBox();
    ASSERT_LT(normal.left, normal.right);
    EXPECT_EQ(normal.left + 2, pressed.left);
    EXPECT_EQ(normal.top + 1, pressed.top);
    EXPECT_EQ(normal.right + 2, pressed.right);
}

TEST_F(OwnerDraw, NextAlwaysHasTheBlackDefaultFrame)
{
    const int l = kItem.left, t = kItem.top, r = kItem.right, b = kItem.bottom;
    const int midX = (l + r) / 2, midY = (t + b) / 2;
    for (UINT state : {0u, (UINT)ODS_FOCUS}) {
        SCOPED_TRACE(state ? "focused" : "not focused");
        Paint(&canvas, IDC_NEXT, ODA_DRAWENTIRE, state);
        EXPECT_EQ(kBlack, PixelAt(canvas, l, midY));
        EXPECT_EQ(kBlack, PixelAt(canvas, midX, t));
        EXPECT_EQ(kBlack, PixelAt(canvas, r - 1, midY));
        EXPECT_EQ(kBlack, PixelAt(canvas, midX, b - 1));
        EXPECT_EQ(kBlack, PixelAt(canvas, midX, b - 2)) << "inner bottom line";
        EXPECT_EQ(kBlack, PixelAt(canvas, r - 2, midY)) << "inner right line";
        EXPECT_EQ(SysPixel(COLOR_BTNHIGHLIGHT), PixelAt(canvas, midX, t + 1));
    }
}

TEST_F(OwnerDraw, FocusRectangleIsInsetByATenthAndAnEighth)
{
    Paint(&reference, IDCANCEL, ODA_DRAWENTIRE, 0);
    Paint(&canvas, IDCANCEL, ODA_DRAWENTIRE, ODS_FOCUS);
    const RECT focus = {kItem.left + 10, kItem.top + 3, kItem.right - 10, kItem.bottom - 3};
    EXPECT_EQ(focus.left, ButtonFocusRect(kItem).left);
    int sides[4] = {};
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            if (PixelAt(canvas, x, y) == PixelAt(reference, x, y))
                continue;
            bool inside = x >= focus.left && x < focus.right && y >= focus.top && y < focus.bottom;
            bool onBorder = inside && (x == focus.left || x == focus.right - 1 ||
                                       y == focus.top || y == focus.bottom - 1);
            ASSERT_TRUE(onBorder) << "changed pixel off the focus border at " << x << "," << y;
            sides[0] += x == focus.left;
            sides[1] += x == focus.right - 1;
            sides[2] += y == focus.top;
            sides[3] += y == focus.bottom - 1;
        }
    }
    for (int side : sides)
        EXPECT_GT(side, 0);
}

// The focus rectangle is XORed: a call for a lost focus that drew nothing
// would leave it standing beside the one on the newly focused button.
TEST_F(OwnerDraw, FocusChangesRepaintTheWholeItem)
{
    Paint(&reference, IDCANCEL, ODA_DRAWENTIRE, 0);
    Paint(&canvas, IDCANCEL, ODA_DRAWENTIRE, ODS_FOCUS);
    Paint(&canvas, IDCANCEL, ODA_FOCUS, 0);
    EXPECT_EQ(0, Differences(kItem, 0));
    Paint(&canvas, IDCANCEL, ODA_FOCUS, ODS_FOCUS);
    Paint(&reference, IDCANCEL, ODA_DRAWENTIRE, ODS_FOCUS);
    EXPECT_EQ(0, Differences(kItem, 0));
}

TEST_F(OwnerDraw, BlankLabelLeavesTheBitmapUntouched)
{
    Paint(&canvas, IDC_BLANK_LABEL, ODA_DRAWENTIRE | ODA_FOCUS, ODS_FOCUS | ODS_SELECTED);
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            ASSERT_EQ(kOutside, PixelAt(canvas, x, y)) << x << "," << y;
}

TEST_F(OwnerDraw, CaptionsComeFromTheTableByIdAndPlacement)
{
    struct Case {
        int id;
        int step;
        const char *caption;
        int align;
    } cases[] = {
        {IDC_NEXT, STEP_PATH, kNextCaption, ALIGN_CENTRE},
        {IDC_NEXT, STEP_LANGUAGE, kNextCaption, ALIGN_CENTRE},
        {IDC_NEXT, STEP_LICENCE, kAgreeCaption, ALIGN_CENTRE},
        {IDC_NEXT, STEP_ACCEPTED, kNextCaption, ALIGN_CENTRE},
        {IDC_PATH_LABEL, STEP_PATH, kPathLabelCaption, ALIGN_LEFT},
        {IDC_LANGUAGE_LABEL, STEP_PATH, kLanguageLabelCaption, ALIGN_CENTRE},
        {IDC_WAIT_LABEL, STEP_PATH, "", ALIGN_LEFT},
        {IDYES, STEP_PATH, kYesCaption, ALIGN_CENTRE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        WizardStep = c.step;
        Paint(&canvas, c.id, ODA_DRAWENTIRE, 0, kItem, "template caption");
        PaintReferenceCaption(c.caption, c.align);
        EXPECT_EQ(0, InteriorDifferences()) << "step " << c.step;
    }
}

// Face and caption only, to the edge of the item, for every flat id.
TEST_F(OwnerDraw, FlatLabelsHaveNoBevel)
{
    const char text[] = "\xD6\xD0 window text";
    for (int id : {IDC_PATH_LABEL, IDC_DIRS_LABEL, IDC_TITLE_LABEL, IDC_DRIVES_LABEL,
                   IDC_EDITION_LABEL, IDC_INSTALLER_LABEL, IDC_MSG_TEXT, IDC_LANGUAGE_LABEL,
                   IDC_WAIT_LABEL}) {
        SCOPED_TRACE(id);
        const DialogControl *row = RowOf(id);
        ASSERT_NE(nullptr, row);
        ASSERT_EQ(FACE_FLAT, row->face);
        Paint(&canvas, id, ODA_DRAWENTIRE, 0, kItem, text);
        PaintReferenceCaption(row->caption ? row->caption : text, row->align);
        EXPECT_EQ(0, Differences(kItem, 0));
    }
}

// A character whose trail byte would be the 80th is left out whole.
TEST_F(OwnerDraw, OtherIdsShowAtMost79BytesOfTheirWindowText)
{
    std::string text = std::string(78, 'i') + "\xD6\xD0" + std::string(20, 'i');
    Paint(&canvas, 5000, ODA_DRAWENTIRE, 0, kItem, text.c_str());
    PaintReferenceCaption(std::string(78, 'i').c_str(), ALIGN_CENTRE);
    EXPECT_EQ(0, InteriorDifferences());
    EXPECT_EQ(SysPixel(COLOR_BTNHIGHLIGHT), PixelAt(canvas, 60, kItem.top + 1)) << "3D face";
}

TEST_F(OwnerDraw, CaptionWiderThanItsControlStartsLeftOfIt)
{
    const char text[] = "\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0";  // four characters, 64 pixels
    const RECT narrow = {60, 8, 100, 32};                  // 40 pixels
    Paint(&canvas, 5001, ODA_DRAWENTIRE, 0, narrow, text);
    EXPECT_EQ(-12, CaptionOrigin(narrow, 64, ALIGN_CENTRE, 0).x - narrow.left);
    DrawGbkText(reference.dc, 60 - 12, 12, text);
    GdiFlush();
    for (int y = 12; y < 28; ++y)
        for (int x = 40; x < 60; ++x)
            ASSERT_EQ(PixelAt(reference, x, y), PixelAt(canvas, x, y)) << x << "," << y;
    EXPECT_LT(InkBox().left, narrow.left);
}

TEST_F(OwnerDraw, NonButtonItemsAreIgnored)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = IDOK;
    item.itemAction = ODA_DRAWENTIRE;
    item.hDC = canvas.dc;
    item.rcItem = kItem;
    DrawOwnerButton(&item);
    EXPECT_EQ(kOutside, PixelAt(canvas, 50, 20));
}

class LicenceItem : public OwnerDraw {
protected:
    void SetUp() override
    {
        OwnerDraw::SetUp();
        list = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 200, 100, parent,
                             (HMENU)IDC_LICENCE_ZH, NULL, NULL);
        ASSERT_NE(nullptr, list);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "\xD6\xD0\xCE\xC4 line one");
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "two");
        // Longer than the 260-byte line buffer: LB_GETTEXT would overrun it.
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)std::string(300, 'w').c_str());
    }
    void PaintItem(UINT index, UINT state = ODS_SELECTED) { PaintLicenceLine(list, index, state); }
    HWND list = NULL;
};

TEST_F(LicenceItem, LineTooLongOrIndexAtOrBeyondTheCountDrawsOnlyTheBackground)
{
    for (UINT index : {2u, 3u, 4u, 0xFFFFFFFFu}) {
        PaintItem(index);
        for (int y = kItem.top; y < kItem.bottom; ++y)
            for (int x = kItem.left; x < kItem.right; ++x)
                ASSERT_EQ(SysPixel(COLOR_WINDOW), PixelAt(canvas, x, y)) << index;
    }
}

TEST_F(LicenceItem, LineIsDrawnTwoPixelsInsideInBlackAndTheStateRestored)
{
    SetTextColor(canvas.dc, RGB(200, 0, 0));
    PaintItem(0, ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(RGB(200, 0, 0), GetTextColor(canvas.dc));
    FillRect(reference.dc, &kItem, GetSysColorBrush(COLOR_WINDOW));
    SetTextColor(reference.dc, RGB(0, 0, 0));
    DrawGbkText(reference.dc, kItem.left + 2, kItem.top + 2, "\xD6\xD0\xCE\xC4 line one");
    EXPECT_EQ(0, InteriorDifferences());
    EXPECT_LT(InkBox().left, InkBox().right) << "some ink was drawn";
    // The line with the focus shows it on its edge, for a keyboard user.
    const RECT topEdge = {kItem.left, kItem.top, kItem.right, kItem.top + 1};
    EXPECT_GT(Differences(topEdge, 0), 10);
}

TEST(CheckBoxSquare, FollowsTheButtonType)
{
    const RECT client = {0, 0, 330, 24};  // R is 334 x 28, h = 28
    struct Case {
        UINT type;
        RECT box;
        UINT state;
    } cases[] = {
        {BS_AUTOCHECKBOX, {2, 4, 15, 16}, DFCS_BUTTONCHECK},
        {BS_CHECKBOX, {2, 4, 15, 16}, DFCS_BUTTONCHECK},
        {BS_AUTORADIOBUTTON, {-1, 1, 19, 22}, DFCS_BUTTONRADIO},
        {BS_RADIOBUTTON, {-1, 1, 19, 22}, DFCS_BUTTONRADIO},
        {BS_PUSHBUTTON, {-1, 1, 19, 22}, DFCS_BUTTONCHECK},
    };
    for (const Case &c : cases) {
        UINT state = 0;
        RECT box = CheckBoxSquare(client, c.type, &state);
        EXPECT_EQ(c.box.left, box.left) << c.type;
        EXPECT_EQ(c.box.top, box.top) << c.type;
        EXPECT_EQ(c.box.right, box.right) << c.type;
        EXPECT_EQ(c.box.bottom, box.bottom) << c.type;
        EXPECT_EQ(c.state, state) << c.type;
    }
}

class CheckBox : public OwnerDraw {
protected:
    void SetUp() override
    {
        OwnerDraw::SetUp();
        SetWindowPos(parent, NULL, 0, 0, 300, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
        box = CreateWindowA("BUTTON", "template text",
                            WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, 150, 20,
                            parent, (HMENU)IDC_DESKTOP_ICON, NULL, NULL);
        ASSERT_NE(nullptr, box);
        DescribeDialog(parent, RowOf(IDC_DESKTOP_ICON), 1);
        SavedButtonProc = (WNDPROC)SetWindowLongPtrA(box, GWLP_WNDPROC, (LONG_PTR)CheckBoxProc);
    }
    void PaintInto(Canvas *target) { PaintCheckBox(box, target->dc); }
    // The face, and the table's caption one box width right of the box, in
    // the reference picture; returns where the caption starts.
    int PaintReferenceBoxCaption()
    {
        UINT state;
        RECT client;
        GetClientRect(box, &client);
        RECT square = CheckBoxSquare(client, BS_AUTOCHECKBOX, &state);
        int x = square.right + (square.right - square.left);
        FillRect(reference.dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        DrawGbkText(reference.dc, x, client.top + 1, RowOf(IDC_DESKTOP_ICON)->caption);
        return x;
    }
    HWND box = NULL;
};

// The box is exactly DrawFrameControl's own picture of its state.
TEST_F(CheckBox, BoxStateFollowsCheckAndEnable)
{
    UINT frame;
    RECT client;
    GetClientRect(box, &client);
    RECT square = CheckBoxSquare(client, BS_AUTOCHECKBOX, &frame);
    struct Case {
        int checked, enabled;
        UINT state;
    } cases[] = {
        {0, 1, 0},
        {1, 1, DFCS_CHECKED},
        {1, 0, DFCS_CHECKED | DFCS_INACTIVE},
        {0, 0, DFCS_INACTIVE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.state);
        SendMessageA(box, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        EnableWindow(box, c.enabled);
        PaintInto(&canvas);
        FillRect(reference.dc, &square, GetSysColorBrush(COLOR_BTNFACE));
        DrawFrameControl(reference.dc, &square, DFC_BUTTON, frame | c.state);
        EXPECT_EQ(0, Differences(square, 0));
    }
}

TEST_F(CheckBox, CaptionStartsOneBoxWidthRightOfTheBox)
{
    SetFocus(parent);
    RECT client;
    GetClientRect(box, &client);
    PaintInto(&canvas);
    const char *caption = RowOf(IDC_DESKTOP_ICON)->caption;
    ASSERT_NE(nullptr, caption);
    int x = PaintReferenceBoxCaption();
    for (int y = 0; y < 20; ++y)
        for (int px = x - 2; px < 150; ++px)
            ASSERT_EQ(PixelAt(reference, px, y), PixelAt(canvas, px, y)) << px << "," << y;

    // With the focus, only a frame around the caption is added.
    SetFocus(box);
    ASSERT_EQ(box, GetFocus());
    Canvas focused;
    ASSERT_TRUE(CreateCanvas(&focused, 160, 48, kOutside));
    PaintInto(&focused);
    const int y = client.top + 1, right = x + MeasureGbkText(canvas.dc, caption).cx + 2;
    int frame = 0;
    for (int py = 0; py < 24; ++py)
        for (int px = 0; px < 160; ++px) {
            if (PixelAt(canvas, px, py) == PixelAt(focused, px, py))
                continue;
            ASSERT_TRUE(px == x - 1 || px == right || py == y - 1 || py == y + 17)
                << "changed off the focus frame at " << px << "," << py;
            ++frame;
        }
    EXPECT_GT(frame, 0);
    DestroyCanvas(&focused);
}

// What the window shows is the painter's picture, caption from the table
// included, also right after the button drew a focus change or a press of
// its own.
TEST_F(CheckBox, WindowShowsThePainterAfterFocusAndPress)
{
    RECT client;
    GetClientRect(box, &client);
    UpdateWindow(parent);
    for (const char *step : {"focus", "press"}) {
        SCOPED_TRACE(step);
        if (step[0] == 'f')
            SetFocus(box);
        else
            SendMessageA(box, BM_SETSTATE, TRUE, 0);
        HDC dc = GetDC(box);
        BitBlt(canvas.dc, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        ReleaseDC(box, dc);
        PaintInto(&reference);
        EXPECT_EQ(0, Differences(client, 0));
    }
    SendMessageA(box, BM_SETSTATE, FALSE, 0);
}

// The painters under a dark scheme with light text and a light scheme with
// dark text (set for this session with SetSysColors, put back afterwards):
// captions and lines in the scheme's text colour on its face, nothing else
// changed, and the context's colours as they were.
class Schemes : public CheckBox {
protected:
    void SetUp() override
    {
        CheckBox::SetUp();
        for (int i = 0; i < 4; ++i)
            saved[i] = GetSysColor(kIndexes[i]);
        list = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 200, 100, parent,
                             (HMENU)IDC_LICENCE_ZH, NULL, NULL);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "\xD6\xD0\xCE\xC4 line");
    }
    void TearDown() override
    {
        SetSysColors(4, kIndexes, saved);
        // Wine keeps colours set this way in a volatile key that every process
        // started later reads before Control Panel\Colors: without it, the
        // prefix's own colours (which the high-contrast test sets) apply again.
        RegDeleteKeyA(HKEY_CURRENT_USER,
                      "Software\\Wine\\Temporary System Parameters\\Control Panel\\Colors");
        CheckBox::TearDown();
    }
    // Fresh pictures, and colours in the painted context that must survive.
    void Restart()
    {
        DestroyCanvas(&canvas);
        DestroyCanvas(&reference);
        ASSERT_TRUE(CreateCanvas(&canvas, 160, 48, kOutside));
        ASSERT_TRUE(CreateCanvas(&reference, 160, 48, kOutside));
        SetTextColor(canvas.dc, RGB(1, 2, 3));
        SetBkColor(canvas.dc, RGB(4, 5, 6));
    }
    void ExpectContextKept()
    {
        EXPECT_EQ(RGB(1, 2, 3), GetTextColor(canvas.dc));
        EXPECT_EQ(RGB(4, 5, 6), GetBkColor(canvas.dc));
    }
    const int kIndexes[4] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
    COLORREF saved[4] = {};
    HWND list = NULL;
};

TEST_F(Schemes, TextTakesTheSchemeColoursInEveryPainter)
{
    struct Scheme {
        const char *name;
        COLORREF colours[4];  // face, button text, window, window text
    } schemes[] = {
        {"dark", {RGB(0, 0, 0), RGB(255, 255, 0), RGB(0, 0, 0), RGB(0, 255, 0)}},
        {"light", {RGB(255, 255, 230), RGB(0, 0, 128), RGB(250, 250, 255), RGB(128, 0, 0)}},
    };
    SetFocus(parent);
    for (const Scheme &scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        ASSERT_TRUE(SetSysColors(4, kIndexes, scheme.colours));
        const uint32_t text = PixelOf(scheme.colours[1]), windowText = PixelOf(scheme.colours[3]);

        for (int id : {IDOK, IDC_TITLE_LABEL}) {
            Restart();
            Paint(&canvas, id, ODA_DRAWENTIRE, 0);
            ExpectContextKept();
            SetTextColor(reference.dc, scheme.colours[1]);
            PaintReferenceCaption(RowOf(id)->caption, ALIGN_CENTRE);
            EXPECT_EQ(0, InteriorDifferences()) << id;
            EXPECT_GT(CountPixels(text), 20) << id;
        }

        Restart();
        PaintInto(&canvas);
        ExpectContextKept();
        SetTextColor(reference.dc, scheme.colours[1]);
        RECT client;
        GetClientRect(box, &client);
        const RECT caption = {PaintReferenceBoxCaption(), 0, client.right, client.bottom};
        EXPECT_EQ(0, Differences(caption, 0)) << "check box";
        EXPECT_GT(CountPixels(text, caption), 100) << "check box";

        Restart();
        PaintLicenceLine(list, 0, 0);
        ExpectContextKept();
        FillRect(reference.dc, &kItem, GetSysColorBrush(COLOR_WINDOW));
        SetTextColor(reference.dc, scheme.colours[3]);
        DrawGbkText(reference.dc, kItem.left + 2, kItem.top + 2, "\xD6\xD0\xCE\xC4 line");
        EXPECT_EQ(0, Differences(kItem, 0)) << "licence line";
        EXPECT_GT(CountPixels(windowText), 20) << "licence line";
    }
}

}  // namespace
