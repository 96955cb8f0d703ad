// The glyph atlas: code-to-cell arithmetic, the shipped atlas data, and the
// page bitmaps that BuildGlyphAtlas makes from it.
#include <gtest/gtest.h>

#include <vector>

#include "base/globals.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

struct WorkedRow {
    unsigned short code;
    int x, y, page;
};

TEST(LookupGlyph, GivesEveryWorkedRow)
{
    const WorkedRow rows[] = {
        {0xA1A1, 0, 0, 0},     {0xA1A2, 16, 0, 0},   {0xA3C1, 448, 96, 0},
        {0xA7FE, 272, 320, 0}, {0xA8A1, 288, 320, 0}, {0xB0A1, 288, 320, 0},
        {0xD7F9, 448, 304, 2}, {0xD8A1, 32, 320, 2},  {0xF7FE, 16, 880, 3},
        {0xFEFE, 304, 256, 3}, {0x8140, 496, 160, 3}, {0xA0A0, 16, 624, 3},
        {0xE946, 0, 896, 3},   {0xA9A4, 16, 896, 3},
    };
    for (const WorkedRow &row : rows) {
        GlyphCell cell = LookupGlyph(row.code);
        EXPECT_EQ(row.x, cell.x) << std::hex << row.code;
        EXPECT_EQ(row.y, cell.y) << std::hex << row.code;
        EXPECT_EQ(row.page, cell.page) << std::hex << row.code;
    }
}

// Every code of the GB2312 shape lands where the row-of-94 layout puts it.
TEST(LookupGlyph, Gb2312ShapeFollowsTheReducedLayout)
{
    for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            unsigned short code = static_cast<unsigned short>(lead << 8 | trail);
            if (code == 0xE946 || code == 0xA9A4)
                continue;
            int g = lead < 0xB0 ? (lead - 0xA1) * 94 + (trail - 0xA1)
                                : (lead - 0xB0) * 94 + (trail - 0xA1) + 658;
            int row = g / 32;
            GlyphCell cell = LookupGlyph(code);
            ASSERT_EQ((g % 32) * 16, cell.x) << std::hex << code;
            ASSERT_EQ((row % 59) * 16, cell.y) << std::hex << code;
            ASSERT_EQ(row / 59 > 3 ? 3 : row / 59, cell.page) << std::hex << code;
        }
    }
}

TEST(LookupGlyph, StaysInsideFourPagesForEveryCode)
{
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        GlyphCell cell = LookupGlyph(static_cast<unsigned short>(code));
        ASSERT_TRUE(cell.x >= 0 && cell.x <= 496 && cell.x % 16 == 0) << code;
        ASSERT_TRUE(cell.y >= 0 && cell.y <= 928 && cell.y % 16 == 0) << code;
        ASSERT_TRUE(cell.page >= 0 && cell.page <= 3) << code;
    }
}

bool CellHasInk(const std::vector<unsigned char> &atlas, unsigned short code)
{
    GlyphCell cell = LookupGlyph(code);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (AtlasInk(atlas, cell.page, cell.x + x, cell.y + y))
                return true;
    return false;
}

class ShippedAtlas : public ::testing::Test {
protected:
    void SetUp() override
    {
        atlas = InflatedResource(GetModuleHandleA(NULL), IDR_GLYPH_ATLAS,
                                    ATLAS_BUFFER_SIZE);
    }
    std::vector<unsigned char> atlas;
};

TEST_F(ShippedAtlas, HoldsCellsZeroTo4415)
{
    EXPECT_EQ(141312u, atlas.size());
}

TEST_F(ShippedAtlas, EveryLevelOneCharacterHasInk)
{
    for (int lead = 0xB0; lead <= 0xD7; ++lead)
        for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail)
            ASSERT_TRUE(CellHasInk(atlas, static_cast<unsigned short>(lead << 8 | trail)))
                << std::hex << (lead << 8 | trail);
}

TEST_F(ShippedAtlas, BlankWhereGb2312HasNoCharacter)
{
    EXPECT_FALSE(CellHasInk(atlas, 0xA1A1));  // full-width space
    EXPECT_FALSE(CellHasInk(atlas, 0xA2A1));  // unassigned in row 2
    EXPECT_FALSE(CellHasInk(atlas, 0xD7FA));  // the three cells after 0xD7F9
    EXPECT_FALSE(CellHasInk(atlas, 0xD7FB));
    EXPECT_FALSE(CellHasInk(atlas, 0xD7FC));
    EXPECT_TRUE(CellHasInk(atlas, 0xA1A2));   // ideographic comma
    EXPECT_TRUE(CellHasInk(atlas, 0xA3C1));   // full-width A
}

class BuiltAtlas : public ::testing::Test {
protected:
    void SetUp() override { AppInstance = GetModuleHandleA(NULL); }
    void TearDown() override { ReleaseGlyphAtlas(); }
};

TEST_F(BuiltAtlas, FillsFourPagesWithTheResourceBits)
{
    ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
    for (int k = 0; k < GLYPH_PAGE_COUNT; ++k) {
        ASSERT_NE(nullptr, GlyphAtlas[k].bitmap);
        ASSERT_NE(nullptr, GlyphAtlas[k].dc);
        BITMAP info;
        ASSERT_TRUE(GetObjectA(GetCurrentObject(GlyphAtlas[k].dc, OBJ_BITMAP),
                               sizeof info, &info));
        EXPECT_EQ(512, info.bmWidth);
        EXPECT_EQ(944, info.bmHeight);
        EXPECT_EQ(1, info.bmBitsPixel);
    }
    // Ink reads black and paper white through each page's device context.
    std::vector<unsigned char> atlas =
        InflatedResource(AppInstance, IDR_GLYPH_ATLAS, ATLAS_BUFFER_SIZE);
    const unsigned short codes[] = {0xB0A1, 0xD6D0, 0xD7F9, 0xA3C1};
    for (unsigned short code : codes) {
        GlyphCell cell = LookupGlyph(code);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(AtlasInk(atlas, cell.page, cell.x + x, cell.y + y) ? 0u : 0xFFFFFFu,
                          GetPixel(GlyphAtlas[cell.page].dc, cell.x + x, cell.y + y))
                    << std::hex << code << " at " << std::dec << x << "," << y;
    }
    // Past the shipped data the pages are blank paper, not heap leftovers.
    EXPECT_EQ(0xFFFFFFu, GetPixel(GlyphAtlas[3].dc, 3, 900));
    EXPECT_EQ(0xFFFFFFu, GetPixel(GlyphAtlas[2].dc, 500, 940));
}

TEST_F(BuiltAtlas, ReleaseEmptiesEverySlotAndMaySafelyRepeat)
{
    ASSERT_EQ(ATLAS_BUILT, BuildGlyphAtlas());
    ReleaseGlyphAtlas();
    ReleaseGlyphAtlas();
    for (int k = 0; k < GLYPH_PAGE_COUNT; ++k) {
        EXPECT_EQ(nullptr, GlyphAtlas[k].bitmap);
        EXPECT_EQ(nullptr, GlyphAtlas[k].dc);
    }
}

// The pages are made as the stream inflates: a stream that fails only after
// them (here, all ink, longer than the atlas buffer) leaves none behind.
TEST_F(BuiltAtlas, StreamLongerThanTheBufferIsUnusableAndLeavesSlotsEmpty)
{
    // zlib header, five stored blocks of 65,535 zero bytes, Adler-32.
    std::vector<unsigned char> stream = {0x78, 0x01};
    for (int block = 0; block < 5; ++block) {
        const unsigned char header[] = {(unsigned char)(block == 4), 0xFF, 0xFF, 0x00, 0x00};
        stream.insert(stream.end(), header, header + sizeof header);
        stream.insert(stream.end(), 65535, 0);
    }
    unsigned long sum = 1;  // Adler-32 of zeros: a stays 1, b adds 1 a byte
    unsigned long b = 5UL * 65535 % 65521;
    sum |= b << 16;
    for (int shift = 24; shift >= 0; shift -= 8)
        stream.push_back((unsigned char)(sum >> shift));
    std::string copy = MakeScratchFolder("atlas") + "\\long_atlas.exe";
    char self[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(NULL, self, sizeof self));
    ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(IDR_GLYPH_ATLAS),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), stream.data(),
                                (DWORD)stream.size()));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    HMODULE module = LoadLibraryExA(copy.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    AppInstance = module;
    EXPECT_EQ(ATLAS_RESOURCE_UNUSABLE, BuildGlyphAtlas());
    for (int k = 0; k < GLYPH_PAGE_COUNT; ++k)
        EXPECT_EQ(nullptr, GlyphAtlas[k].bitmap) << k;
    FreeLibrary(module);
}

TEST_F(BuiltAtlas, MissingResourceIsUnusableAndLeavesSlotsEmpty)
{
    AppInstance = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(ATLAS_RESOURCE_UNUSABLE, BuildGlyphAtlas());
    for (int k = 0; k < GLYPH_PAGE_COUNT; ++k) {
        EXPECT_EQ(nullptr, GlyphAtlas[k].bitmap);
        EXPECT_EQ(nullptr, GlyphAtlas[k].dc);
    }
}

}  // namespace
