// Measuring and drawing GBK text: glyph cells copied from the atlas, single
// bytes drawn with the font one pixel lower, widths that agree exactly.
#include <gtest/gtest.h>

#include <string.h>

#include "base/globals.h"
#include "render/gbk_text.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

const char kChinese[] = "\xD6\xD0\xCE\xC4";  // "Chinese" in two characters

class GbkText : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AppInstance = GetModuleHandleA(NULL);
        ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
        atlas = InflatedResource(AppInstance, IDR_GLYPH_ATLAS, ATLAS_BUFFER_SIZE);
    }
    static void TearDownTestSuite() { ReleaseGlyphAtlas(); }

    void SetUp() override
    {
        ASSERT_TRUE(CreateCanvas(&canvas, 240, 40, kWhite));
        ASSERT_TRUE(CreateCanvas(&expected, 240, 40, kWhite));
        SelectObject(canvas.dc, GetStockObject(DEFAULT_GUI_FONT));
        SelectObject(expected.dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(expected.dc, TRANSPARENT);
    }
    void TearDown() override
    {
        DestroyCanvas(&canvas);
        DestroyCanvas(&expected);
    }

    int CharWidth(char c)
    {
        SIZE size;
        return GetTextExtentPointA(canvas.dc, &c, 1, &size) ? size.cx : 0;
    }
    // Paints the atlas cell of `code` into the expected picture at (x, y).
    void ExpectGlyph(unsigned short code, int x, int y, uint32_t ink = kBlack)
    {
        GlyphCell cell = LookupGlyph(code);
        GdiFlush();
        for (int row = 0; row < 16; ++row)
            for (int col = 0; col < 16; ++col)
                if (AtlasInk(atlas, cell.page, cell.x + col, cell.y + row))
                    expected.pixels[(y + row) * expected.width + x + col] = ink;
    }
    void ExpectByte(char c, int x, int y) { TextOutA(expected.dc, x, y + 1, &c, 1); }
    // Number of pixels that differ between the drawing and the expectation.
    int Differences()
    {
        GdiFlush();
        int count = 0;
        for (int i = 0; i < canvas.width * canvas.height; ++i)
            count += (canvas.pixels[i] & 0xFFFFFF) != (expected.pixels[i] & 0xFFFFFF);
        return count;
    }

    static std::vector<unsigned char> atlas;
    Canvas canvas;
    Canvas expected;
};
std::vector<unsigned char> GbkText::atlas;

TEST_F(GbkText, DoubleByteCharactersAreTheAtlasCellsAtY)
{
    DrawGbkText(canvas.dc, 5, 7, kChinese);
    ExpectGlyph(0xD6D0, 5, 7);
    ExpectGlyph(0xCEC4, 21, 7);
    EXPECT_EQ(0, Differences());
    SIZE size = MeasureGbkText(canvas.dc, kChinese);
    EXPECT_EQ(32, size.cx);
    EXPECT_EQ(16, size.cy);
}

TEST_F(GbkText, MixedTextDrawsBytesOnePixelLowerAndMeasuresWhatItDraws)
{
    const char text[] = "Ab\xD6\xD0" "c!";
    DrawGbkText(canvas.dc, 3, 10, text);
    int pen = 3;
    ExpectByte('A', pen, 10);
    pen += CharWidth('A');
    ExpectByte('b', pen, 10);
    pen += CharWidth('b');
    ExpectGlyph(0xD6D0, pen, 10);
    pen += 16;
    ExpectByte('c', pen, 10);
    pen += CharWidth('c');
    ExpectByte('!', pen, 10);
    pen += CharWidth('!');
    EXPECT_EQ(0, Differences());
    EXPECT_EQ(pen - 3, MeasureGbkText(canvas.dc, text).cx);
}

// Ink in the text colour, letters without their background, paper left as
// it was: on a dark face with light text and on a light face with dark text,
// whatever background mode and colour the context had.
TEST_F(GbkText, InkTakesTheTextColourAndPaperKeepsTheFace)
{
    struct Case {
        uint32_t face;
        COLORREF text;
    } cases[] = {{0x00000000, RGB(255, 255, 0)}, {0x00F0F0E0, RGB(0, 0, 128)}};
    const char text[] = "A\xD6\xD0" "b\xCE\xC4";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.face);
        DestroyCanvas(&canvas);
        DestroyCanvas(&expected);
        ASSERT_TRUE(CreateCanvas(&canvas, 240, 40, c.face));
        ASSERT_TRUE(CreateCanvas(&expected, 240, 40, c.face));
        SelectObject(canvas.dc, GetStockObject(DEFAULT_GUI_FONT));
        SelectObject(expected.dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(canvas.dc, OPAQUE);
        SetBkColor(canvas.dc, RGB(200, 30, 30));
        SetTextColor(canvas.dc, c.text);
        DrawGbkText(canvas.dc, 4, 6, text);

        SetBkMode(expected.dc, TRANSPARENT);
        SetTextColor(expected.dc, c.text);
        int pen = 4;
        ExpectByte('A', pen, 6);
        pen += CharWidth('A');
        ExpectGlyph(0xD6D0, pen, 6, PixelOf(c.text));
        pen += 16;
        ExpectByte('b', pen, 6);
        pen += CharWidth('b');
        ExpectGlyph(0xCEC4, pen, 6, PixelOf(c.text));
        EXPECT_EQ(0, Differences());
    }
}

TEST_F(GbkText, LeavesTheContextAsItFoundIt)
{
    SIZE size = MeasureGbkText(canvas.dc, "");
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(16, size.cy);

    SetBkMode(canvas.dc, OPAQUE);
    SetTextColor(canvas.dc, RGB(10, 20, 30));
    SetBkColor(canvas.dc, RGB(40, 50, 60));
    SelectObject(canvas.dc, GetStockObject(GRAY_BRUSH));
    HGDIOBJ font = GetCurrentObject(canvas.dc, OBJ_FONT);
    for (const char *text : {"", "x\xD6\xD0", "\xD6\xD0\xCE\xC4"}) {
        SCOPED_TRACE(text);
        DrawGbkText(canvas.dc, 0, 0, text);
        EXPECT_EQ(OPAQUE, GetBkMode(canvas.dc));
        EXPECT_EQ(RGB(10, 20, 30), GetTextColor(canvas.dc));
        EXPECT_EQ(RGB(40, 50, 60), GetBkColor(canvas.dc));
        EXPECT_EQ(GetStockObject(GRAY_BRUSH), GetCurrentObject(canvas.dc, OBJ_BRUSH));
        EXPECT_EQ(font, GetCurrentObject(canvas.dc, OBJ_FONT));
    }
}

TEST_F(GbkText, LoneLeadByteAtTheEndPairsWithTheTerminator)
{
    const char text[] = "A\xB0";
    EXPECT_EQ(CharWidth('A') + 16, MeasureGbkText(canvas.dc, text).cx);
    DrawGbkText(canvas.dc, 2, 2, text);
    ExpectByte('A', 2, 2);
    ExpectGlyph(0xB000, 2 + CharWidth('A'), 2);
    EXPECT_EQ(0, Differences());
}

TEST_F(GbkText, LeadByteTakesAnAsciiTrailByte)
{
    const char text[] = "\xB0" "A";
    EXPECT_EQ(16, MeasureGbkText(canvas.dc, text).cx);
    DrawGbkText(canvas.dc, 4, 4, text);
    ExpectGlyph(0xB041, 4, 4);  // no letter A is drawn
    EXPECT_EQ(0, Differences());
}

TEST_F(GbkText, BlankCellsAndEmptySlotsStillAdvance)
{
    const char text[] = "\xA1\xA1\xD6\xD0";
    EXPECT_EQ(32, MeasureGbkText(canvas.dc, text).cx);
    DrawGbkText(canvas.dc, 0, 0, text);
    ExpectGlyph(0xD6D0, 16, 0);
    EXPECT_EQ(0, Differences());

    // Before the atlas exists (the out-of-memory report), a character draws
    // nothing but still takes its 16 pixels.
    ReleaseGlyphAtlas();
    DrawGbkText(canvas.dc, 0, 20, "\xD6\xD0" "A");
    ExpectByte('A', 16, 20);
    EXPECT_EQ(0, Differences());
    ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
}

// A picture for a person to look at: captions drawn from the atlas, in the
// test-output folder.
TEST_F(GbkText, WritesAPictureOfCaptions)
{
    Canvas picture;
    ASSERT_TRUE(CreateCanvas(&picture, 360, 120, 0x00D4D0C8));
    SelectObject(picture.dc, GetStockObject(DEFAULT_GUI_FONT));
    const char *captions[] = {
        "\xCF\xC2\xD2\xBB\xB2\xBD Next",                      // next step
        "\xC8\xA1\xCF\xFB Cancel",                            // cancel
        "\xBB\xB6\xD3\xAD\xB0\xB2\xD7\xB0\xC4\xAB\xC8\xF0\xCE\xC4 Morivane",
        "\xC4\xDA\xB4\xE6\xB2\xBB\xB9\xBB\xA1\xA3\xB0\xB2\xD7\xB0\xCE\xDE\xB7\xA8"
        "\xBC\xCC\xD0\xF8\xA1\xA3",                           // out of memory
    };
    int y = 8;
    for (const char *caption : captions) {
        DrawGbkText(picture.dc, 10, y, caption);
        y += 26;
    }
    char name[64];
    snprintf(name, sizeof name, "gbk_captions_cp%u.bmp", GetACP());
    EXPECT_TRUE(SaveCanvasBmp(picture, name));
    DestroyCanvas(&picture);
}

}  // namespace
