// The built MorivaneSetup.exe itself: every "TEXT" resource of the table is
// there, under its language, as one maximum-compression zlib stream that
// inflates within its reader's capacity.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string.h>

#include "test_support.h"
#include "text_resources_table.h"

namespace {

// Tests run in build/test-output; the installer is built one folder up.
const char kInstaller[] = "..\\MorivaneSetup.exe";

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<WORD> *>(found)->insert(LOWORD(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::set<WORD> *>(found)->insert(language);
    return TRUE;
}

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

TEST_F(InstallerImage, CarriesExactlyTheTableOfTextResources)
{
    std::set<WORD> names;
    EnumResourceNamesA(module, "TEXT", CollectName, reinterpret_cast<LONG_PTR>(&names));
    std::set<WORD> expected;
    for (const TextResourceRow &row : kTextResources)
        expected.insert(row.id);
    EXPECT_EQ(expected, names);
    EXPECT_EQ(30u, names.size());
}

TEST_F(InstallerImage, EveryStreamInflatesWithinItsCapacityUnderItsLanguage)
{
    for (const TextResourceRow &row : kTextResources) {
        SCOPED_TRACE(row.file);
        std::set<WORD> languages;
        EnumResourceLanguagesA(module, "TEXT", MAKEINTRESOURCEA(row.id), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        ASSERT_EQ(std::set<WORD>{row.language}, languages);

        HRSRC found = FindResourceExA(module, "TEXT", MAKEINTRESOURCEA(row.id), row.language);
        ASSERT_NE(nullptr, found);
        const unsigned char *bytes =
            static_cast<const unsigned char *>(LockResource(LoadResource(module, found)));
        ASSERT_GE(SizeofResource(module, found), 2u);
        EXPECT_EQ(0x78, bytes[0]);
        EXPECT_EQ(0xDA, bytes[1]) << "not at maximum compression";
        EXPECT_FALSE(InflateTextResource(module, row.id, row.capacity).empty());
    }
}

TEST_F(InstallerImage, AtlasIsFullSizeAndTheGuideCopyIsByteIdentical)
{
    EXPECT_EQ(141312u, InflateTextResource(module, 110, 307200).size());
    std::vector<unsigned char> guide = InflateTextResource(module, 194, 1048576);
    EXPECT_FALSE(guide.empty());
    EXPECT_EQ(guide, InflateTextResource(module, 235, 1048576));
}

TEST_F(InstallerImage, LicenceTextsLeaveRoomForTheirTerminator)
{
    for (WORD id : {124, 161}) {
        std::vector<unsigned char> text = InflateTextResource(module, id, 65536);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_LT(text.size(), 65536u) << id;
    }
}

}  // namespace
