// What the built installer declares and refuses: its manifest and version
// information, and DLLs planted beside it.
#include <gtest/gtest.h>

#include <io.h>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "resources/resource_ids.h"

namespace {

// System DLLs that are loaded on demand, by name. Told to prefer native DLLs
// for them, Wine takes them from the program's folder, as Windows does for any
// DLL that is not a known system DLL. (Others, such as version.dll, Wine
// itself loads before the program starts, where no program can intervene.)
const char *const kPlantedNames[] = {"dwmapi", "propsys", "userenv"};
// Planted too, under Wine's own load order, which takes its builtin DLLs.
const char *const kAlsoPlanted[] = {"version", "uxtheme"};

std::string PlantingOverrides()
{
    std::string overrides = "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d";
    for (const char *name : kPlantedNames)
        overrides += std::string(";") + name + "=n,b";
    return overrides;
}

// A folder holding `program` and the planted DLL under every name.
std::string PlantedFolder(const std::string &program)
{
    std::string folder = MakeScratchFolder("planted");
    std::string copy = folder + program.substr(program.rfind('\\'));
    EXPECT_TRUE(CopyFileA(program.c_str(), copy.c_str(), FALSE));
    for (const char *name : kPlantedNames)
        EXPECT_TRUE(CopyFileA(BuiltFile("..\\tests\\planted.dll").c_str(),
                              (folder + "\\" + name + ".dll").c_str(), FALSE));
    for (const char *name : kAlsoPlanted)
        EXPECT_TRUE(CopyFileA(BuiltFile("..\\tests\\planted.dll").c_str(),
                              (folder + "\\" + name + ".dll").c_str(), FALSE));
    return folder;
}

bool Loaded(const std::string &folder, const char *name)
{
    return _access((folder + "\\" + name + ".dll.loaded").c_str(), 0) == 0;
}

// The probe shows that a planted DLL is loaded when nothing prevents it, and
// that the installer's restriction keeps it out.
TEST(DllPlanting, RestrictedSearchTakesOnlySystemDlls)
{
    std::string folder = PlantedFolder(BuiltFile("..\\tests\\dll_probe.exe"));
    std::string probe = folder + "\\dll_probe.exe";
    for (const char *name : kPlantedNames) {
        SCOPED_TRACE(name);
        std::string dll = std::string(name) + ".dll";
        InstallerRun open;
        ASSERT_TRUE(open.Start(probe, folder, PlantingOverrides(), "open " + dll));
        open.WaitForExit();
        EXPECT_TRUE(Loaded(folder, name)) << "the planted DLL is loaded when nothing stops it";
        DeleteFileA((folder + "\\" + dll + ".loaded").c_str());

        InstallerRun restricted;
        ASSERT_TRUE(restricted.Start(probe, folder, PlantingOverrides(), "restricted " + dll));
        EXPECT_EQ(0, restricted.WaitForExit()) << "the system's own DLL is loaded instead";
        EXPECT_FALSE(Loaded(folder, name));
    }
}

TEST(DllPlanting, NoPlantedDllRunsInTheInstaller)
{
    std::string folder = PlantedFolder(InstallerPath());
    InstallerRun run;
    ASSERT_TRUE(run.Start(folder + "\\MorivaneSetup.exe", folder, PlantingOverrides()));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    PostMessageA(wizard, WM_COMMAND, IDC_BROWSE, 0);
    HWND chooser = run.WaitForWindow("Choose Destination Directory", 10000);
    ASSERT_NE(nullptr, chooser);
    Click(chooser, IDCANCEL);
    WaitUntil([&] { return !IsWindowVisible(chooser); });
    Click(wizard, IDC_NEXT);
    Click(wizard, IDC_NEXT);
    Sleep(300);
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
    for (const char *name : kPlantedNames)
        EXPECT_FALSE(Loaded(folder, name)) << name << ".dll was loaded";
    for (const char *name : kAlsoPlanted)
        EXPECT_FALSE(Loaded(folder, name)) << name << ".dll was loaded";
}

TEST(Declarations, ManifestAsksForNoElevation)
{
    HMODULE installer = LoadLibraryExA(InstallerPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, installer);
    HRSRC found = FindResourceA(installer, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found);
    std::string manifest((const char *)LockResource(LoadResource(installer, found)),
                         SizeofResource(installer, found));
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
    EXPECT_NE(std::string::npos, manifest.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"));
    FreeLibrary(installer);
}

TEST(Declarations, VersionInformationNamesProductAndMaker)
{
    std::string path = InstallerPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    struct Case {
        const char *key, *value;
    } cases[] = {{"ProductName", "Morivane"},
                 {"CompanyName", "Quelt"},
                 {"FileDescription", "Morivane Installer"},
                 {"ProductVersion", MORIVANE_VERSION_TEXT}};
    for (const Case &c : cases) {
        char *value = NULL;
        UINT length = 0;
        std::string key = std::string("\\StringFileInfo\\040904B0\\") + c.key;
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), (void **)&value, &length)) << c.key;
        EXPECT_STREQ(c.value, value);
    }
}

}  // namespace
