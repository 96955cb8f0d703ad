// What the built installer declares and refuses: its manifest and version
// information, and DLLs planted beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <io.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "resources/resource_ids.h"

namespace {

// Wine told to prefer, for the programs named, a DLL of `names` found on the
// search path, as Windows does for any DLL that is not one of its known DLLs.
// Per program in the registry: an override in the environment of a program
// started from a Windows program does not reach its import table.
class PreferPlanted {
public:
    PreferPlanted(const std::vector<std::string> &programs, const std::vector<std::string> &names)
        : programs(programs)
    {
        for (const std::string &program : programs) {
            HKEY key;
            EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Key(program).c_str(), 0,
                                                     NULL, 0, KEY_SET_VALUE, NULL, &key, NULL));
            for (const std::string &name : names)
                RegSetValueExA(key, name.c_str(), 0, REG_SZ, (const BYTE *)"native,builtin", 15);
            RegCloseKey(key);
        }
    }
    ~PreferPlanted()
    {
        for (const std::string &program : programs)
            RegDeleteKeyA(HKEY_CURRENT_USER, Key(program).c_str());
    }

private:
    static std::string Key(const std::string &program)
    {
        return "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides";
    }
    std::vector<std::string> programs;
};

// A folder holding a copy of each program and the marking DLL under each name.
std::string PlantedFolder(const std::vector<std::string> &programs,
                          const std::vector<std::string> &names)
{
    std::string folder = MakeScratchFolder("planted");
    for (const std::string &program : programs)
        EXPECT_TRUE(CopyFileA(program.c_str(),
                              (folder + program.substr(program.rfind('\\'))).c_str(), FALSE));
    for (const std::string &name : names)
        EXPECT_TRUE(CopyFileA(BuiltFile("..\\tests\\planted.dll").c_str(),
                              (folder + "\\" + name + ".dll").c_str(), FALSE));
    return folder;
}

std::string Marker(const std::string &folder, const std::string &name)
{
    return folder + "\\" + name + ".dll.loaded";
}

std::vector<std::string> LoadedNames(const std::string &folder,
                                     const std::vector<std::string> &names)
{
    std::vector<std::string> loaded;
    for (const std::string &name : names)
        if (Exists(Marker(folder, name))) {
            loaded.push_back(name);
            DeleteFileA(Marker(folder, name).c_str());
        }
    return loaded;
}

// The probe shows that a DLL planted beside a program is loaded by name when
// nothing prevents it, and that the installer's restriction keeps it out.
TEST(DllPlanting, RestrictedSearchTakesOnlySystemDlls)
{
    const std::vector<std::string> names = {"dwmapi", "propsys", "userenv"};
    std::string folder = PlantedFolder({BuiltFile("..\\tests\\dll_probe.exe")}, names);
    std::string probe = folder + "\\dll_probe.exe";
    PreferPlanted prefer({"dll_probe.exe"}, names);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        InstallerRun open;
        ASSERT_TRUE(open.Start(probe, folder, "", "open " + name + ".dll"));
        open.WaitForExit();
        EXPECT_EQ(std::vector<std::string>{name}, LoadedNames(folder, names))
            << "the planted DLL is loaded when nothing stops it";

        InstallerRun restricted;
        ASSERT_TRUE(restricted.Start(probe, folder, "", "restricted " + name + ".dll"));
        EXPECT_EQ(0, restricted.WaitForExit()) << "the system's own DLL is loaded instead";
        EXPECT_TRUE(LoadedNames(folder, names).empty());
    }
}

// comctl32 is not a known DLL: a program that imports it takes the one
// beside it before its first line runs. The installer loads it itself.
TEST(DllPlanting, InstallerImportsNothingThatCanBePlanted)
{
    const std::vector<std::string> names = {"comctl32"};
    std::string folder =
        PlantedFolder({BuiltFile("..\\tests\\dll_probe.exe"), InstallerPath()}, names);
    PreferPlanted prefer({"dll_probe.exe", "MorivaneSetup.exe"}, names);
    InstallerRun probe;
    ASSERT_TRUE(probe.Start(folder + "\\dll_probe.exe", folder, "", "imports"));
    EXPECT_EQ(0, probe.WaitForExit());
    EXPECT_EQ(names, LoadedNames(folder, names)) << "a program importing comctl32 loads the planted one";

    InstallerRun run;
    ASSERT_TRUE(run.Start(folder + "\\MorivaneSetup.exe", folder));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(nullptr, wizard);
    HWND bar = Control(wizard, IDC_PROGRESS);
    DWORD_PTR position = 0;
    SendMessageTimeoutA(bar, PBM_SETPOS, 40, 0, SMTO_BLOCK, 5000, NULL);
    SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_BLOCK, 5000, &position);
    EXPECT_EQ(40u, position) << "the wizard's progress bar works";
    Click(wizard, IDCANCEL);
    EXPECT_EQ(0, run.WaitForExit());
    EXPECT_TRUE(LoadedNames(folder, names).empty()) << "the installer loaded the planted comctl32";
}

// A copy of the installer whose DLL search restriction finds no function to
// call: the same program with the restriction off.
std::string InstallerWithoutRestriction(const std::string &folder)
{
    std::vector<unsigned char> bytes = ReadWholeFile(InstallerPath());
    for (const char *name : {"SetDefaultDllDirectories", "SetDllDirectoryA"}) {
        std::string needle(name, strlen(name) + 1);
        auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
        if (at == bytes.end())
            return std::string();
        *at = 'X';
    }
    std::string copy = folder + "\\Unrestricted.exe";
    return WriteWholeFile(copy, std::string(bytes.begin(), bytes.end())) ? copy : std::string();
}

// What the wizard does by hand: the folder chooser, the language and licence
// pages, Cancel. Returns the exit code.
int WalkTheWizard(const std::string &program, const std::string &folder)
{
    InstallerRun run;
    if (!run.Start(program, folder))
        return -2;
    HWND wizard = run.WaitForWizard();
    if (wizard == NULL)
        return -3;
    PostMessageA(wizard, WM_COMMAND, IDC_BROWSE, 0);
    HWND chooser = run.WaitForWindow("Choose Destination Directory", 10000);
    if (chooser == NULL)
        return -4;
    Click(chooser, IDCANCEL);
    WaitUntil([&] { return !IsWindowVisible(chooser); });
    Click(wizard, IDC_NEXT);
    Click(wizard, IDC_NEXT);
    Sleep(300);
    Click(wizard, IDCANCEL);
    return run.WaitForExit();
}

// Once running, the installer asks for uxtheme by name (Wine's user32 loads
// it for the first window): a copy without the restriction takes the planted
// one at once, the installer walked through every page does not. (Wine's
// builtin DLLs take some DLLs from beside a program whatever it does: those
// they import, such as user32's version.dll, before its first line, and
// those they delay-load, such as uxtheme's msimg32, ignoring the
// restriction. Windows does neither, so they are not planted here.)
TEST(DllPlanting, WalkedInstallerTakesNoPlantedDll)
{
    const std::vector<std::string> names = {"uxtheme"};
    std::string folder = PlantedFolder({InstallerPath()}, names);
    std::string unrestricted = InstallerWithoutRestriction(folder);
    ASSERT_FALSE(unrestricted.empty());
    PreferPlanted prefer({"Unrestricted.exe", "MorivaneSetup.exe"}, names);
    {
        InstallerRun control;
        ASSERT_TRUE(control.Start(unrestricted, folder));
        EXPECT_TRUE(WaitUntil([&] { return Exists(Marker(folder, "uxtheme")); }, 10000))
            << "without the restriction the planted uxtheme is loaded";
        control.WaitForExit(0);
    }
    LoadedNames(folder, names);

    EXPECT_EQ(0, WalkTheWizard(folder + "\\MorivaneSetup.exe", folder));
    EXPECT_EQ(std::vector<std::string>(), LoadedNames(folder, names));
}

// The application manifest of a program file, empty when it has none.
std::string ManifestOf(const std::string &program)
{
    HMODULE module = LoadLibraryExA(program.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (module == NULL)
        return std::string();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    std::string manifest;
    if (found != NULL)
        manifest.assign((const char *)LockResource(LoadResource(module, found)),
                        SizeofResource(module, found));
    FreeLibrary(module);
    return manifest;
}

// asInvoker keeps Windows from taking a program whose name holds "Setup" or
// "Install" for an installer and asking for an administrator; the supported
// systems keep it from running the program in an older system's ways.
TEST(Declarations, EveryProgramAsksForNoElevation)
{
    std::string folder = MakeScratchFolder("manifests");
    struct Program {
        const char *name;
        WORD id;  // its "TEXT" resource, 0 for the installer itself
    } programs[] = {{"MorivaneSetup.exe", 0},
                    {"Morivane.exe", IDR_PRODUCT_EXE},
                    {"MorivaneUnInstall.exe", IDR_UNINSTALLER_EXE}};
    for (const Program &program : programs) {
        SCOPED_TRACE(program.name);
        std::string path = InstallerPath();
        if (program.id != 0) {
            std::vector<unsigned char> bytes =
                InflatedResource(GetModuleHandleA(NULL), program.id, PAYLOAD_BUFFER_SIZE);
            path = folder + "\\" + program.name;
            ASSERT_TRUE(WriteWholeFile(path, std::string(bytes.begin(), bytes.end())));
        }
        std::string manifest = ManifestOf(path);
        EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
        EXPECT_NE(std::string::npos, manifest.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"));
    }
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

}  // namespace
