// Whether others may change an install folder or a folder on the way to it,
// judged on security descriptors built here: Wine makes the ones it reads
// back from the Unix mode, so the decisions that matter on Windows can only
// be met this way.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>
#include <string>

#include "install/folders.h"

namespace {

const char kUser[] = "S-1-5-21-1-2-3-1001";
const char kOther[] = "S-1-5-21-1-2-3-1002";
const char kInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

struct Folder {
    const char *what;
    std::string sddl;  // "U" and "X" stand for the user's and another user's SID
    int othersMayChange;
    int role = JUDGED_INSTALL_FOLDER;
};

std::string Sids(std::string text)
{
    for (size_t at; (at = text.find(";U)")) != std::string::npos;)
        text.replace(at + 1, 1, kUser);
    for (size_t at; (at = text.find(";X)")) != std::string::npos;)
        text.replace(at + 1, 1, kOther);
    return text;
}

void PrintTo(const Folder &folder, std::ostream *out) { *out << folder.what; }

class OpenFolders : public testing::TestWithParam<Folder> {};

TEST_P(OpenFolders, JudgedByOwnerAndEntriesForTheFolderItself)
{
    std::string sddl = Sids(GetParam().sddl);
    PSECURITY_DESCRIPTOR descriptor = NULL;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                     &descriptor, NULL))
        << sddl;
    EXPECT_EQ(GetParam().othersMayChange,
              OthersMayChangeFolder(descriptor, GetParam().role, kUser))
        << sddl;
    LocalFree(descriptor);
}

const std::string kOwnedByUser = std::string("O:") + kUser;
const std::string kSystemOnes = "(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
// As Windows sets one up: Authenticated Users may add folders to it, and
// may change the files and folders made in those (CREATOR OWNER stands for
// whoever makes one).
const std::string kDriveRoot = std::string("O:") + kInstaller + "D:PAI" + kSystemOnes +
                               "(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)"
                               "(A;;LC;;;AU)";

INSTANTIATE_TEST_SUITE_P(
    Descriptors, OpenFolders,
    testing::Values(
        Folder{"made by the installer", kOwnedByUser + "D:P(A;OICI;FA;;;U)" + kSystemOnes +
                                            "(A;OICI;0x1200a9;;;BU)", 0},
        Folder{"in the user's profile", kOwnedByUser + "D:" + kSystemOnes + "(A;OICI;FA;;;U)", 0},
        Folder{"under Program Files", std::string("O:") + kInstaller + "D:(A;;FA;;;" + kInstaller +
                                          ")(A;;0x1301bf;;;SY)(A;;0x1301bf;;;BA)(A;;0x1200a9;;;BU)"
                                          "(A;OICIIO;GA;;;CO)(A;OICIIO;GA;;;SY)", 0},
        Folder{"made by hand at a drive root", kOwnedByUser + "D:" + kSystemOnes +
                                                   "(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGWGR;;;AU)", 1},
        Folder{"owned by SYSTEM, only read by others", "O:SYD:(A;;FA;;;SY)(A;;FR;;;X)(A;;FR;;;WD)", 0},
        Folder{"another user's", std::string("O:") + kOther + "D:(A;OICI;FA;;;U)", 1},
        Folder{"Everyone may add files", kOwnedByUser + "D:(A;;0x2;;;WD)", 1},
        Folder{"Guests may add folders", kOwnedByUser + "D:(A;;0x4;;;BG)", 1},
        Folder{"Users may delete what is in it", kOwnedByUser + "D:(A;;0x40;;;BU)", 1},
        Folder{"another user may change permissions", kOwnedByUser + "D:(A;;WD;;;X)", 1},
        Folder{"another user may take it", kOwnedByUser + "D:(A;;WO;;;X)", 1},
        Folder{"Authenticated Users may delete it", kOwnedByUser + "D:(A;;SD;;;AU)", 1},
        Folder{"Everyone's write only for the files made in it", kOwnedByUser + "D:(A;OICIIO;GW;;;WD)", 1},
        Folder{"Everyone's full control only for the files made in it", kOwnedByUser + "D:(A;OIIO;FA;;;WD)", 1},
        Folder{"Everyone's full control only for folders made in it", kOwnedByUser + "D:(A;CIIO;FA;;;WD)", 0},
        Folder{"a denial is no grant", kOwnedByUser + "D:(D;;FA;;;WD)", 0},
        Folder{"on the way, others may add beside what is in it", kOwnedByUser + "D:(A;OICI;0x1201bf;;;WD)", 0, JUDGED_ON_THE_WAY},
        Folder{"on the way, another user may delete it", kOwnedByUser + "D:(A;;SD;;;X)", 1, JUDGED_ON_THE_WAY},
        Folder{"on the way, another user may move what is in it", kOwnedByUser + "D:(A;;0x40;;;X)", 1, JUDGED_ON_THE_WAY},
        Folder{"on the way, another user has all rights", kOwnedByUser + "D:(A;;GA;;;X)", 1, JUDGED_ON_THE_WAY},
        Folder{"the system drive's root as Windows sets it up", kDriveRoot, 0, JUDGED_DRIVE_ROOT},
        Folder{"a data drive's root as Windows formats it", "O:BAD:PAI" + kSystemOnes +
                   "(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1301bf;;;AU)", 0, JUDGED_DRIVE_ROOT},
        Folder{"a drive root where others may delete what is in it", "O:BAD:(A;;0x40;;;AU)", 1,
               JUDGED_DRIVE_ROOT}),
    [](const testing::TestParamInfo<Folder> &info) { return std::to_string(info.index); });

}  // namespace
