// The verify command on the built installer and on damaged copies: every
// kind of problem is named with its id, and the exit code says there were.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <zlib.h>

#include "base/text_resource.h"
#include "installer_driver.h"
#include "resources/resource_ids.h"

namespace {

// Runs a command with its output in a file; returns the exit code.
int RunCapturing(const std::string &command, std::string *output)
{
    std::string folder = MakeScratchFolder("verify");
    std::string log = folder + "\\output.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE file = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, 0, NULL);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process = {};
    std::string line = command;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        CloseHandle(file);
        return -1;
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(file);
    std::vector<unsigned char> text = ReadWholeFile(log);
    output->assign(text.begin(), text.end());
    return (int)code;
}

TEST(Verify, NamesTheStreamThatDoesNotInflate)
{
    std::string verify = "\"" + BuiltFile("..\\MorivaneVerify.exe") + "\" ";
    std::string output;
    EXPECT_EQ(0, RunCapturing(verify + "\"" + InstallerPath() + "\"", &output)) << output;
    EXPECT_NE(std::string::npos, output.find("verified: 0 problems")) << output;

    std::string copy = CopyWithDamagedResource(IDR_SORT_DIC);
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(1, RunCapturing(verify + "\"" + copy + "\"", &output)) << output;
    size_t line = output.find("  204  ");
    ASSERT_NE(std::string::npos, line) << output;
    EXPECT_NE(std::string::npos,
              output.substr(line, output.find('\n', line) - line).find("DOES NOT INFLATE"))
        << output;
    EXPECT_NE(std::string::npos, output.find("FAILED: 1 problem")) << output;
}

// A copy holding the installer's TEXT resources only, with the sort
// dictionary left out, an id the table does not know added, and a Chinese
// licence too large for its buffer.
std::string CopyWithThreeProblems()
{
    std::string folder = MakeScratchFolder("verify");
    std::string copy = folder + "\\problems.exe";
    HMODULE installer = LoadLibraryExA(InstallerPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (folder.empty() || installer == NULL || !CopyFileA(InstallerPath().c_str(), copy.c_str(), FALSE))
        return std::string();
    std::vector<unsigned char> big(LICENCE_BUFFER_SIZE + 10, 'x');
    std::vector<unsigned char> bigStream(compressBound(big.size()));
    uLongf bigSize = bigStream.size();
    compress2(bigStream.data(), &bigSize, big.data(), big.size(), 9);
    // Resources can only be taken out by starting from none (Wine keeps a
    // deleted one).
    HANDLE update = BeginUpdateResourceA(copy.c_str(), TRUE);
    TextResourceName names[64];
    int count = ListTextResources(installer, names, 64);
    bool written = update != NULL && count <= 64;
    for (int i = 0; written && i < count; ++i) {
        const unsigned char *bytes;
        DWORD size;
        FindTextResource(installer, names[i].id, &bytes, &size);
        if (names[i].id == IDR_LICENCE_ZH) {
            bytes = bigStream.data();
            size = bigSize;
        }
        if (names[i].id != IDR_SORT_DIC)
            written = UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(names[i].id),
                                      names[i].language, (void *)bytes, size) != 0;
    }
    const unsigned char *unknown;
    DWORD unknownSize;
    FindTextResource(installer, IDR_LICENCE_EN, &unknown, &unknownSize);
    written = written && UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(4242), 0,
                                         (void *)unknown, unknownSize) &&
              EndUpdateResourceA(update, FALSE);
    FreeLibrary(installer);
    return written ? copy : std::string();
}

// The line of `id` in the verify command's output, or empty.
std::string LineOf(const std::string &output, const char *id)
{
    size_t at = output.find(id);
    return at == std::string::npos ? std::string() : output.substr(at, output.find('\n', at) - at);
}

TEST(Verify, NamesAMissingAnUnknownAndAnOversizedResource)
{
    std::string copy = CopyWithThreeProblems();
    ASSERT_FALSE(copy.empty());
    std::string output;
    EXPECT_EQ(1, RunCapturing("\"" + BuiltFile("..\\MorivaneVerify.exe") + "\" \"" + copy + "\"",
                              &output))
        << output;
    EXPECT_NE(std::string::npos, LineOf(output, "  204  ").find("missing: sort.dic")) << output;
    EXPECT_NE(std::string::npos, LineOf(output, " 4242  ").find("NOT IN THE TABLE")) << output;
    EXPECT_NE(std::string::npos, LineOf(output, "  124  ").find("OVER CAPACITY")) << output;
    EXPECT_NE(std::string::npos, output.find("FAILED: 3 problems")) << output;
}

}  // namespace
