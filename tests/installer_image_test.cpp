// The built MorivaneSetup.exe itself: every "TEXT" resource of the table is
// there, under its language, as one maximum-compression zlib stream that
// inflates within its reader's capacity.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string.h>

#include "base/text_resource.h"
#include "resources/resource_ids.h"
#include "test_support.h"
#include "text_resources_table.h"

namespace {

// Tests run in build/test-output; the installer is built one folder up.
const char kInstaller[] = "..\\MorivaneSetup.exe";

class InstallerImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExA(kInstaller, NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module) << "cannot open " << kInstaller;
    }
    void TearDown() override
    {
        if (module != NULL)
            FreeLibrary(module);
    }
    HMODULE module = NULL;
};

// Ids and languages of the image's "TEXT" resources.
std::map<WORD, std::set<WORD>> Listed(HMODULE module)
{
    TextResourceName names[64];
    int count = ListTextResources(module, names, 64);
    std::map<WORD, std::set<WORD>> listed;
    for (int i = 0; i < count && i < 64; ++i)
        listed[names[i].id].insert(names[i].language);
    return listed;
}

TEST_F(InstallerImage, CarriesExactlyTheTableOfTextResources)
{
    std::set<WORD> names;
    for (const auto &entry : Listed(module))
        names.insert(entry.first);
    std::set<WORD> expected;
    for (const TextResourceRow &row : kTextResources)
        expected.insert(row.id);
    EXPECT_EQ(expected, names);
}

TEST_F(InstallerImage, EveryStreamInflatesWithinItsCapacityUnderItsLanguage)
{
    std::map<WORD, std::set<WORD>> listed = Listed(module);
    for (const TextResourceRow &row : kTextResources) {
        SCOPED_TRACE(row.file);
        ASSERT_EQ(std::set<WORD>{row.language}, listed[row.id]);
        const unsigned char *bytes;
        DWORD size;
        ASSERT_TRUE(FindTextResource(module, row.id, &bytes, &size));
        ASSERT_GE(size, 2u);
        EXPECT_EQ(0x78, bytes[0]);
        EXPECT_EQ(0xDA, bytes[1]) << "not at maximum compression";
        EXPECT_FALSE(InflatedResource(module, row.id, row.capacity).empty());
    }
}

TEST_F(InstallerImage, AtlasIsFullSizeAndTheGuideCopyIsByteIdentical)
{
    EXPECT_EQ(141312u, InflatedResource(module, IDR_GLYPH_ATLAS, ATLAS_BUFFER_SIZE).size());
    std::vector<unsigned char> guide =
        InflatedResource(module, IDR_GUIDE_B5_HTM, PAYLOAD_BUFFER_SIZE);
    EXPECT_FALSE(guide.empty());
    EXPECT_EQ(guide, InflatedResource(module, IDR_GUIDE_B5_COPY_HTM, PAYLOAD_BUFFER_SIZE));
}

TEST_F(InstallerImage, LicenceTextsLeaveRoomForTheirTerminator)
{
    for (WORD id : {IDR_LICENCE_ZH, IDR_LICENCE_EN}) {
        std::vector<unsigned char> text = InflatedResource(module, id, LICENCE_BUFFER_SIZE);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_LT(text.size(), (size_t)LICENCE_BUFFER_SIZE) << id;
    }
}

}  // namespace
