// Extracting "TEXT" resources into files: capacity limits, untouched targets
// on failure, attributes before and after writing, and path limits.
#include <gtest/gtest.h>

#include <io.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <vector>
#include <zlib.h>

#include "base/globals.h"
#include "install/install_state.h"
#include "base/join_path.h"
#include "base/text_resource.h"
#include "install/file_commit.h"
#include "install/resource_extract.h"
#include "resources/resource_ids.h"
#include "test_support.h"

namespace {

const WORD kStream4096 = 9001;  // 4,096 bytes of (i * 7) % 251
const WORD kDamaged = 9002;     // the same stream with broken deflate data
const WORD kPackageSize = 9004;  // 11,555,328 bytes of xorshift32 output, stored
const WORD kOverSpeechBuffer = 9005;  // 12,582,913 zero bytes
const unsigned long kPackageBytes = 11555328;
const WORD kMissing = 9999;
const DWORD kReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

class Extraction : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(NULL);
        folder = MakeScratchFolder("extract");
        ASSERT_FALSE(folder.empty());
        ASSERT_LT(folder.size(), sizeof InstallDir);
        strcpy(InstallDir, folder.c_str());
        BeginInstallRecord(InstallDir);
    }
    std::string Path(const char *name) { return folder + "\\" + name; }
    DWORD Attributes(const char *name) { return GetFileAttributesA(Path(name).c_str()); }
    // An existing read-only, hidden file with known content.
    void PlantOldFile(const char *name)
    {
        ASSERT_TRUE(WriteWholeFile(Path(name), "old"));
        // Hidden first: Wine cannot add it to a file already read-only.
        ASSERT_TRUE(SetFileAttributesA(Path(name).c_str(), FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(SetFileAttributesA(Path(name).c_str(), kReadOnlyHidden));
        ASSERT_EQ(kReadOnlyHidden, Attributes(name) & kReadOnlyHidden);
    }
    void ExpectOldFile(const char *name)
    {
        std::vector<unsigned char> content = ReadWholeFile(Path(name));
        EXPECT_EQ("old", std::string(content.begin(), content.end()));
        EXPECT_EQ(kReadOnlyHidden, Attributes(name) & kReadOnlyHidden);
    }
    int Extract(WORD id, const char *name, unsigned long capacity, int ro, int hidden)
    {
        return ExtractResourceToFile(id, name, capacity, ro, hidden, NULL);
    }

    std::string folder;
};

TEST_F(Extraction, ContentOfExactlyTheCapacityIsWritten)
{
    ASSERT_EQ(1, Extract(kStream4096, "exact.bin", 4096, 0, 0));
    std::vector<unsigned char> content = ReadWholeFile(Path("exact.bin"));
    ASSERT_EQ(4096u, content.size());
    for (size_t i = 0; i < content.size(); ++i)
        ASSERT_EQ((i * 7) % 251, content[i]) << i;
    EXPECT_EQ(0u, Attributes("exact.bin") & kReadOnlyHidden);
}

TEST_F(Extraction, FailuresBeforeWritingLeaveTheTargetUntouched)
{
    PlantOldFile("target.bin");
    EXPECT_EQ(0, Extract(kStream4096, "target.bin", 4095, 0, 0)) << "one byte short";
    ExpectOldFile("target.bin");
    EXPECT_EQ(0, Extract(kDamaged, "target.bin", 8192, 0, 0)) << "damaged stream";
    ExpectOldFile("target.bin");
    EXPECT_EQ(0, Extract(kMissing, "target.bin", 8192, 0, 0)) << "missing id";
    ExpectOldFile("target.bin");
    EXPECT_EQ(0, Extract(kMissing, "absent.bin", 8192, 0, 0));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes("absent.bin"));
    EXPECT_EQ(1, CountFolderEntries(folder)) << "no private file is left";
}

// Windows refuses to overwrite a read-only file; Wine run as root does not,
// which would hide every fault of the attribute handling below.
TEST_F(Extraction, TheSuiteRunsWhereReadOnlyFilesAreProtected)
{
    PlantOldFile("guard.bin");
    FILE *file = fopen(Path("guard.bin").c_str(), "wb");
    if (file != NULL)
        fclose(file);
    ASSERT_EQ(nullptr, file) << "read-only file was opened for writing: is Wine running as root?";
}

TEST_F(Extraction, ReadOnlyHiddenTargetIsOverwrittenWithTheAttributesAsked)
{
    struct Case {
        int readOnly, hidden;
        DWORD expected;
    } cases[] = {
        {0, 0, 0},
        {1, 1, kReadOnlyHidden},
        {1, 0, FILE_ATTRIBUTE_READONLY},
        {0, 1, FILE_ATTRIBUTE_HIDDEN},
    };
    for (const Case &c : cases) {
        PlantOldFile("data.bin");
        ASSERT_EQ(1, Extract(kStream4096, "data.bin", 4096, c.readOnly, c.hidden))
            << c.readOnly << c.hidden;
        EXPECT_EQ(4096u, ReadWholeFile(Path("data.bin")).size());
        EXPECT_EQ(c.expected, Attributes("data.bin") & kReadOnlyHidden)
            << c.readOnly << c.hidden;
        SetFileAttributesA(Path("data.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(Extraction, ExplicitPathIgnoresInstallDirAndName)
{
    std::string target = Path("explicit.bin");
    strcpy(InstallDir, "Q:\\no\\such\\folder");
    ASSERT_EQ(1, ExtractResourceToFile(kStream4096, "ignored.bin", 4096, 1, 0, target.c_str()));
    EXPECT_EQ(4096u, ReadWholeFile(target).size());
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY, Attributes("explicit.bin") & kReadOnlyHidden);
    EXPECT_EQ(1, CountFolderEntries(folder));
}

TEST_F(Extraction, TargetHeldOpenByAnotherHandleFails)
{
    std::string target = Path("locked.bin");
    ASSERT_TRUE(WriteWholeFile(target, "old"));
    HANDLE lock = CreateFileA(target.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_EQ(0, Extract(kStream4096, "locked.bin", 4096, 1, 1));
    CloseHandle(lock);
    EXPECT_EQ(3u, ReadWholeFile(target).size());
}

TEST_F(Extraction, PathsThatDoNotFitWriteNothing)
{
    std::string longName(MAX_PATH, 'n');
    EXPECT_EQ(0, Extract(kStream4096, longName.c_str(), 4096, 0, 0));
    std::string longPath = folder + "\\" + std::string(MAX_PATH, 'p');
    EXPECT_EQ(0, ExtractResourceToFile(kStream4096, "x", 4096, 0, 0, longPath.c_str()));
    EXPECT_EQ(0, CountFolderEntries(folder));
}

TEST(JoinInstallPath, JoinsWithOneBackslashWithinTheBuffer)
{
    char out[12];
    EXPECT_EQ(1, JoinInstallPath(out, sizeof out, "C:\\A", "b.txt"));
    EXPECT_STREQ("C:\\A\\b.txt", out);
    EXPECT_EQ(1, JoinInstallPath(out, sizeof out, "C:\\", "b.txt"));
    EXPECT_STREQ("C:\\b.txt", out) << "a drive root's own backslash";
    EXPECT_EQ(1, JoinInstallPath(out, sizeof out, "C:\\AB", "c.txt"));  // 11 + NUL
    EXPECT_STREQ("C:\\AB\\c.txt", out);
    EXPECT_EQ(0, JoinInstallPath(out, sizeof out, "C:\\ABC", "c.txt"));
    EXPECT_STREQ("", out);
}

TEST_F(Extraction, LargestRowsFitTheirBuffers)
{
    ASSERT_EQ(1, Extract(IDR_PRODUCT_EXE, "Morivane.exe", PAYLOAD_BUFFER_SIZE, 1, 0));
    std::vector<unsigned char> program = ReadWholeFile(Path("Morivane.exe"));
    ASSERT_GE(program.size(), 2u);
    EXPECT_EQ('M', program[0]);
    EXPECT_EQ('Z', program[1]);

    std::string package = Path("Sapi51forQuelt.msi");
    ASSERT_EQ(1, ExtractResourceToFile(IDR_SPEECH_RUNTIME_MSI, NULL, SPEECH_BUFFER_SIZE, 0, 0,
                                       package.c_str()));
    std::vector<unsigned char> msi = ReadWholeFile(package);
    const unsigned char compoundFile[] = {0xD0, 0xCF, 0x11, 0xE0};
    ASSERT_GE(msi.size(), 4u);
    EXPECT_EQ(0, memcmp(compoundFile, msi.data(), 4));
}

// The offer's path at the package's real size: a stream that deflate could
// not shrink reaches the file byte for byte, and one byte more than the
// package's capacity leaves no file.
TEST_F(Extraction, SpeechBufferTakesAPackageOfRealSizeAndNotOneByteMore)
{
    const unsigned char *bytes;
    DWORD size;
    ASSERT_TRUE(FindTextResource(AppInstance, kPackageSize, &bytes, &size));
    ASSERT_GT(size, 11000000u) << "the test stream is meant to be incompressible";
    std::string package = Path("Sapi51forQuelt.msi");
    ASSERT_EQ(1, ExtractResourceToFile(kPackageSize, "ignored", SPEECH_BUFFER_SIZE, 0, 0,
                                       package.c_str()));
    std::vector<unsigned char> written = ReadWholeFile(package);
    ASSERT_EQ(kPackageBytes, written.size());
    uint32_t x = 0x2545F491;  // as tests/make_test_streams.py makes it
    for (size_t i = 0; i < written.size(); i += 4) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        for (size_t k = 0; k < 4 && i + k < written.size(); ++k)
            ASSERT_EQ((x >> (8 * k)) & 0xFF, written[i + k]) << "byte " << i + k;
    }

    EXPECT_EQ(0, ExtractResourceToFile(kOverSpeechBuffer, "ignored", SPEECH_BUFFER_SIZE, 0, 0,
                                       Path("new.msi").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes("new.msi"));
    PlantOldFile("old.msi");
    EXPECT_EQ(0, ExtractResourceToFile(kPackageSize, "ignored", SPEECH_BUFFER_SIZE, 0, 0,
                                       Path("old.msi").c_str()))
        << "an existing file is never opened for writing";
    ExpectOldFile("old.msi");
}

}  // namespace
