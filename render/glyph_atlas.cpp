// Building, releasing and addressing the glyph atlas (see glyph_atlas.h).
#include "render/glyph_atlas.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "atlas_packed_cells.h"

GlyphAtlasPage GlyphAtlas[GLYPH_PAGE_COUNT];

// The arithmetic of LookupGlyph, evaluated at compile time too.
static constexpr GlyphCell CellOfCode(unsigned short code)
{
    // Two symbols outside the arithmetic's range have cells of their own.
    if (code == 0xE946)
        return GlyphCell{0, 896, 3};
    if (code == 0xA9A4)
        return GlyphCell{16, 896, 3};

    unsigned short v = static_cast<unsigned short>(code - 0xA0A0);
    int n = (v >> 8) * 96 + (v & 0xFF);
    int g = 0;
    // Each 96-wide row of the code grid holds 94 characters: the division
    // (truncating toward zero, also for negative m) removes the two gaps.
    if (code < 0xB0A1) {
        int m = n - 97;
        g = m - 2 * (m / 96);
    } else {
        int m = n - 1537;
        g = (n - 879) - 2 * (m / 96);
    }
    unsigned int index = static_cast<unsigned short>(g);
    unsigned int row = index / ATLAS_CELLS_ACROSS;
    unsigned int page = row / ATLAS_PAGE_CELL_ROWS;
    return GlyphCell{static_cast<int>(index % ATLAS_CELLS_ACROSS) * GLYPH_SIZE,
                     static_cast<int>(row % ATLAS_PAGE_CELL_ROWS) * GLYPH_SIZE,
                     page > GLYPH_PAGE_COUNT - 1 ? GLYPH_PAGE_COUNT - 1 : static_cast<int>(page)};
}

// The atlas data is packed by tools/atlas_cells.py: the arithmetic must find
// every shipped glyph where the packer put it.
static constexpr bool PackedCellsAgree(void)
{
    for (const AtlasPackedCell &packed : kAtlasPackedCells) {
        GlyphCell cell = CellOfCode(packed.code);
        long offset = (long)cell.page * GLYPH_PAGE_BYTES + (long)cell.y * (GLYPH_PAGE_WIDTH / 8) +
                      cell.x / 8;
        if (offset != packed.offset)
            return false;
    }
    return true;
}
static_assert(PackedCellsAgree(), "LookupGlyph finds every shipped glyph where the packer put it");

GlyphCell LookupGlyph(unsigned short code)
{
    return CellOfCode(code);
}

int CreateGlyphPage(int k, const unsigned char *bits)
{
    GlyphAtlasPage *slot = &GlyphAtlas[k];
    slot->bitmap = CreateBitmap(GLYPH_PAGE_WIDTH, GLYPH_PAGE_HEIGHT, 1, 1, bits);
    if (slot->bitmap == NULL)
        return 0;
    slot->dc = CreateCompatibleDC(NULL);
    if (slot->dc == NULL)
        return 0;
    slot->previous = SelectObject(slot->dc, slot->bitmap);
    return 1;
}

int FinishGlyphAtlas(unsigned char *buffer, unsigned long length)
{
    // The shipped data ends part-way into page 2; the cells after it are
    // blank paper rather than whatever the heap held.
    memset(buffer + length, 0xFF, ATLAS_BUFFER_SIZE - length);
    int outcome = ATLAS_BUILT;
    for (int k = 0; k < GLYPH_PAGE_COUNT; ++k) {
        if (!CreateGlyphPage(k, buffer + k * GLYPH_PAGE_BYTES)) {
            outcome = ATLAS_GRAPHICS_FAILURE;
            break;
        }
    }
    free(buffer);
    return outcome;
}

int BuildGlyphAtlasFromFile(const char *path)
{
    FILE *file = fopen(path, "rb");
    if (file == NULL)
        return ATLAS_RESOURCE_UNUSABLE;
    unsigned char *buffer = static_cast<unsigned char *>(malloc(ATLAS_BUFFER_SIZE));
    if (buffer == NULL) {
        fclose(file);
        return ATLAS_OUT_OF_MEMORY;
    }
    size_t length = fread(buffer, 1, ATLAS_BUFFER_SIZE, file);
    fclose(file);
    return FinishGlyphAtlas(buffer, (unsigned long)length);
}

void ReleaseGlyphAtlas(void)
{
    for (int k = 0; k < GLYPH_PAGE_COUNT; ++k) {
        GlyphAtlasPage *slot = &GlyphAtlas[k];
        if (slot->dc != NULL) {
            SelectObject(slot->dc, slot->previous);
            DeleteDC(slot->dc);
        }
        if (slot->bitmap != NULL)
            DeleteObject(slot->bitmap);
        slot->bitmap = NULL;
        slot->dc = NULL;
        slot->previous = NULL;
    }
}
