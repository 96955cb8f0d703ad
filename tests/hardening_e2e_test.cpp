// What the built programs declare and refuse: manifests and version
// information, DLLs planted beside them, files planted where they write
// theirs, and the permissions of the folders they make.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <commctrl.h>
#include <sddl.h>
#include <stdio.h>
#include <string.h>
#include <tlhelp32.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "install/payload_table.h"
#include "installer_driver.h"
#include "resources/resource_ids.h"
#include "texts.h"

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

// comctl32 is not a known DLL: a program that imports it takes the one
// beside it before its first line runs. The installer loads it itself.
TEST(DllPlanting, InstallerImportsNothingThatCanBePlanted)
{
    const std::vector<std::string> names = {"comctl32"};
    std::string folder =
        PlantedFolder({BuiltFile("..\\tests\\dll_probe.exe"), InstallerPath()}, names);
    PreferPlanted prefer({"dll_probe.exe", "MorivaneSetup.exe"}, names);
    InstallerRun probe;
    ASSERT_TRUE(probe.Start(folder + "\\dll_probe.exe", folder));
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
// it for the first window): a copy without the DLL search restriction takes
// the planted one at once, the installer walked through every page does not. (Wine's
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

const char kPackageName[] = "Sapi51forQuelt.msi";
const char kMessageCaption[] = MESSAGE_CAPTION;

std::string TempFolder()
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    return length > 0 && length < sizeof temp ? std::string(temp) : std::string();
}

std::set<std::string> FolderEntries(const std::string &folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string Contents(const std::string &path)
{
    std::vector<unsigned char> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string Folder(const std::string &path) { return path.substr(0, path.rfind('\\')); }
std::string Name(const std::string &path) { return path.substr(path.rfind('\\') + 1); }

// The DACL of a security descriptor as SDDL text, as the system writes it.
std::string DaclText(PSECURITY_DESCRIPTOR descriptor)
{
    char *text = NULL;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, NULL))
        return std::string();
    std::string dacl = text;
    LocalFree(text);
    return dacl;
}

std::string DaclOf(const std::string &path)
{
    PSECURITY_DESCRIPTOR descriptor = NULL;
    PACL dacl = NULL;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, NULL,
                              NULL, &dacl, NULL, &descriptor) != ERROR_SUCCESS)
        return std::string();
    std::string text = DaclText(descriptor);
    LocalFree(descriptor);
    return text;
}

std::string UserSid()
{
    HANDLE token;
    DWORD buffer[64], needed;
    char *text = NULL;
    std::string sid;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &needed) &&
            ConvertSidToStringSidA(((TOKEN_USER *)buffer)->User.Sid, &text)) {
            sid = text;
            LocalFree(text);
        }
        CloseHandle(token);
    }
    return sid;
}

// Whether a process of that program file name runs.
bool IsRunning(const char *program)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry))
        found = _stricmp(entry.szExeFile, program) == 0;
    CloseHandle(snapshot);
    return found;
}

// The next message dialog of `run` other than `previous`, or null.
HWND NextMessage(InstallerRun &run, HWND previous, int timeoutMs = 30000)
{
    HWND found = NULL;
    WaitUntil([&] {
        HWND dialog = run.WaitForWindow(kMessageCaption, 0);
        found = dialog != previous ? dialog : NULL;
        return found != NULL;
    }, timeoutMs);
    return found;
}

// Installs into `folder` through the wizard, without desktop or startup
// icon, with `variable` set for the installer, and answers the
// speech-runtime offer with `offerAnswer`. The exit code, or a negative
// step that went wrong.
// Starts the installer and walks it to Agree/Install with `folder` typed.
HWND AgreeWith(InstallerRun &run, const std::string &folder, const std::string &variable = "")
{
    if (!run.Start(InstallerPath(), "", variable))
        return NULL;
    HWND wizard = run.WaitForWizard();
    if (wizard == NULL)
        return NULL;
    SendMessageTimeoutA(Control(wizard, IDC_PATH_EDIT), WM_SETTEXT, 0, (LPARAM)folder.c_str(),
                        SMTO_BLOCK, 5000, NULL);
    if (!SetEveryOption(wizard, false))
        return NULL;
    Click(wizard, IDC_NEXT);
    if (!WaitUntil([&] { return IsShown(wizard, IDC_LANGUAGE_COMBO); }))
        return NULL;
    Click(wizard, IDC_NEXT);
    if (!WaitUntil([&] { return IsShown(wizard, IDC_ENGLISH); }))
        return NULL;
    Click(wizard, IDC_NEXT);
    return wizard;
}

// With `openToOthers`, the folder is one others may change: the question
// names it, No leaves the licence page with nothing written, and Yes, when
// asked again, installs.
int InstallAnswering(const std::string &folder, int offerAnswer, const std::string &variable = "",
                     bool openToOthers = false)
{
    bool existed = Exists(folder);
    InstallerRun run;
    HWND wizard = AgreeWith(run, folder, variable);
    if (wizard == NULL)
        return -3;
    HWND done = NextMessage(run, NULL);
    if (openToOthers) {
        if (done == NULL || WindowText(Control(done, IDC_MSG_TEXT)).find(folder) == std::string::npos)
            return -8;
        Click(done, IDNO);
        // No writes nothing: not even the folder.
        if (!WaitUntil([&] { return !IsWindow(done); }) || CountFolderEntries(folder) != 0 ||
            Exists(folder) != existed || !IsShown(wizard, IDC_ENGLISH))
            return -9;
        Click(wizard, IDC_NEXT);
        HWND again = NextMessage(run, done);
        if (again == NULL)
            return -10;
        Click(again, IDYES);
        done = NextMessage(run, again);
    }
    if (done == NULL || WindowText(Control(done, IDC_MSG_SUBTEXT)) != kInstallDoneSubText)
        return -6;
    Click(done, IDOK);
    HWND offer = NextMessage(run, done);
    if (offer == NULL)
        return -7;
    Click(offer, offerAnswer);
    return run.WaitForExit();
}

// The Unix name of a Windows path (its last part need not exist).
std::string UnixName(const std::string &path)
{
    typedef char *(CDECL * UnixNameFunction)(LPCWSTR);
    UnixNameFunction unixName = (UnixNameFunction)(void *)GetProcAddress(
        GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    std::wstring wide(path.begin(), path.end());
    char *name = unixName != NULL ? unixName(wide.c_str()) : NULL;
    std::string unix = name != NULL ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return unix;
}

// Runs a Unix command through Wine's start /unix, for what Windows programs
// cannot do under Wine: a mode that Wine's umask leaves alone, a symbolic
// link (CreateSymbolicLinkA makes nothing in Wine 8). start's /wait does not
// wait for a Unix program, so what the command does is waited for instead.
bool RunUnix(std::string command, const std::function<bool()> &done)
{
    command = "start.exe /wait /unix " + command;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return WaitUntil(done, 30000);
}

// Opens `folder` to every account by its Unix mode; false if that is not seen.
bool OpenToEveryone(const std::string &folder)
{
    std::string made = DaclOf(folder);
    return RunUnix("/bin/chmod 777 " + UnixName(folder), [&] { return DaclOf(folder) != made; });
}

// While it lives, the shell's "open" of a package starts the recorder in a
// scratch folder instead of Windows Installer: msiexec never runs, and what
// was opened is read back.
class PackageOpens {
public:
    PackageOpens()
    {
        std::string folder = MakeScratchFolder("opens");
        recorder = folder + "\\recorder.exe";
        EXPECT_TRUE(CopyFileA(BuiltFile("..\\tests\\recorder.exe").c_str(), recorder.c_str(), FALSE));
        char old[1024] = "";
        LONG size = sizeof old;
        RegQueryValueA(HKEY_CLASSES_ROOT, kCommand, old, &size);
        saved = old;
        Set("\"" + recorder + "\" \"%1\"");
    }
    ~PackageOpens() { Set(saved); }
    // The files opened so far, in order.
    std::vector<std::string> Opened() const
    {
        std::vector<std::string> paths;
        std::string record = Contents(recorder + ".ran");
        for (size_t start = 0, end; (end = record.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            std::string line = record.substr(start, end - start);
            size_t close = line.rfind('"'), open = line.rfind('"', close - 1);
            paths.push_back(line.substr(open + 1, close - open - 1));
        }
        return paths;
    }

private:
    static constexpr const char *kCommand = "Msi.Package\\shell\\Open\\command";
    static void Set(const std::string &command)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, kCommand, REG_SZ, command.c_str(), (DWORD)command.size());
    }
    std::string recorder, saved;
};

// A folder made with the descriptor that SDDL text describes.
bool MakeFolder(const std::string &path, const char *sddl)
{
    PSECURITY_DESCRIPTOR descriptor = NULL;
    if (sddl != NULL && !ConvertStringSecurityDescriptorToSecurityDescriptorA(
                            sddl, SDDL_REVISION_1, &descriptor, NULL))
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    BOOL made = CreateDirectoryA(path.c_str(), sddl != NULL ? &attributes : NULL);
    LocalFree(descriptor);
    return made != 0;
}

// The package is opened only when the offer is taken and this run wrote it
// whole, from a folder the run made under a fresh name, never from where a
// file could be laid in wait. The install folder the installer makes gets
// its own permissions; an existing one that others may change is used only
// when the user says so, and keeps its; one that is a link is refused; one
// to be made in a folder others may change is asked about before it is made.
TEST(OwnFolders, PackageOnlyFromAFreshFolderAndInstallFolderLockedToOthers)
{
    std::string temp = TempFolder();
    std::string scratch = MakeScratchFolder("own");
    ASSERT_FALSE(temp.empty());
    ASSERT_FALSE(scratch.empty());
    const std::string planted[] = {temp + kPackageName, std::string("C:\\") + kPackageName};
    for (const std::string &path : planted)
        ASSERT_TRUE(WriteWholeFile(path, "planted"));
    std::set<std::string> before = FolderEntries(temp);
    std::string created = scratch + "\\created", existing = scratch + "\\existing";
    // Wine keeps what the Unix mode holds, less its umask: made open to
    // everyone here, then given the mode that says so.
    ASSERT_TRUE(MakeFolder(existing, "D:P(A;OICI;FA;;;WD)"));
    ASSERT_TRUE(OpenToEveryone(existing));
    std::string existingDacl = DaclOf(existing);

    PackageOpens opens;
    EXPECT_EQ(0, InstallAnswering(scratch + "\\declined", IDCANCEL));
    std::string filler = FillDriveE(0);
    if (!filler.empty()) {
        // Taken, but the package cannot be written: the temporary folder on a full drive.
        EXPECT_EQ(0, InstallAnswering(scratch + "\\full", IDOK, "TMP=E:\\"));
        for (const std::string &name : FolderEntries("E:\\"))
            EXPECT_NE(0u, name.find("Morivane-")) << "the failed package's folder stays";
        DeleteFileA(filler.c_str());
    }
    EXPECT_EQ(0, InstallAnswering(created, IDOK));
    EXPECT_EQ(0, InstallAnswering(existing, IDOK, "", true));
    // A new folder in one that every account may change: any of them could
    // move it away and put its own in its place. Asked before it is made.
    const std::string openParent = "C:\\acc_open";
    ASSERT_TRUE(MakeFolder(openParent, NULL));
    ASSERT_TRUE(OpenToEveryone(openParent));
    EXPECT_EQ(0, InstallAnswering(openParent + "\\Morivane", IDCANCEL, "", true));
    std::string link = scratch + "\\link", target = scratch + "\\target";
    auto isLink = [&] {
        DWORD attributes = GetFileAttributesA(link.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    };
    if (MakeFolder(target, NULL) &&
        RunUnix("/bin/ln -s " + UnixName(target) + " " + UnixName(link), isLink)) {
        // A folder that is a link is refused with the folder message.
        InstallerRun run;
        HWND wizard = AgreeWith(run, link);
        HWND refused = NextMessage(run, NULL);
        ASSERT_TRUE(wizard != NULL && refused != NULL);
        char expected[128];
        snprintf(expected, sizeof expected, kFolderFailureSubFormat, kCannotCreateFolder);
        EXPECT_EQ(expected, WindowText(Control(refused, IDC_MSG_SUBTEXT)));
        Click(refused, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(refused); }));
        Click(wizard, IDCANCEL);
        EXPECT_EQ(0, run.WaitForExit());
        EXPECT_EQ(0, CountFolderEntries(target)) << "nothing written through the link";
    } else {
        printf("note: no symbolic link could be made here: link refusal not shown\n");
    }
    EXPECT_TRUE(WaitUntil([] { return !IsRunning("recorder.exe"); }, 10000));

    std::vector<std::string> opened = opens.Opened();
    ASSERT_EQ(2u, opened.size()) << "only the two packages written whole are opened";
    EXPECT_NE(Folder(opened[0]), Folder(opened[1])) << "each run takes a folder of its own";
    std::vector<unsigned char> package =
        InflatedResource(GetModuleHandleA(NULL), IDR_SPEECH_RUNTIME_MSI, SPEECH_BUFFER_SIZE);
    for (const std::string &path : opened) {
        SCOPED_TRACE(path);
        EXPECT_EQ(kPackageName, Name(path));
        EXPECT_EQ(temp, Folder(Folder(path)) + "\\") << "a folder in the temporary folder";
        EXPECT_EQ(0u, before.count(Name(Folder(path)))) << "made by the run";
        EXPECT_TRUE(package == ReadWholeFile(path)) << "the package as carried";
    }
    for (const std::string &path : planted) {
        EXPECT_EQ("planted", Contents(path)) << path;
        DeleteFileA(path.c_str());
    }

    // Read back as the system keeps it: Windows keeps the descriptor, Wine
    // only what the Unix mode can hold. Either way it must be what the same
    // descriptor gives, and not what a folder made without one gets.
    std::string reference = scratch + "\\reference", plain = scratch + "\\plain";
    ASSERT_TRUE(MakeFolder(reference, ("D:P(A;OICI;FA;;;" + UserSid() +
                                       ")(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)")
                                          .c_str()));
    ASSERT_TRUE(MakeFolder(plain, NULL));
    EXPECT_EQ(DaclOf(reference), DaclOf(created));
    EXPECT_NE(DaclOf(plain), DaclOf(created));
    EXPECT_EQ(existingDacl, DaclOf(existing)) << "an existing folder is used as it is";
}

// An installed product as far as the uninstaller looks: its own file, the
// atlas it draws with, and one more payload file.
std::string InstalledProduct()
{
    std::string folder = MakeScratchFolder("installed");
    for (const PayloadEntry &row : PayloadTable) {
        if (row.id != IDR_UNINSTALLER_EXE && row.id != IDR_GLYPH_ATLAS && row.id != IDR_SORT_DIC)
            continue;
        std::vector<unsigned char> bytes =
            InflatedResource(GetModuleHandleA(NULL), row.id, PAYLOAD_BUFFER_SIZE);
        EXPECT_TRUE(WriteWholeFile(folder + "\\" + row.fileName,
                                   std::string(bytes.begin(), bytes.end())));
    }
    return folder;
}

// The program file of the process that shows `window`.
std::string ProgramOf(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (process != NULL) {
        QueryFullProcessImageNameA(process, 0, path, &size);
        CloseHandle(process);
    }
    return path;
}

// The files and folders that the next restart removes, with the empty
// string that follows each (its new name: none).
std::vector<std::string> PendingRemovals()
{
    std::vector<std::string> entries;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return entries;
    std::vector<char> value(65536);
    DWORD size = (DWORD)value.size() - 2;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", NULL, NULL, (BYTE *)value.data(),
                         &size) == ERROR_SUCCESS)
        for (const char *entry = value.data(); entry < value.data() + size;
             entry += strlen(entry) + 1)
            entries.push_back(entry);
    RegCloseKey(key);
    return entries;
}

// The uninstaller runs as a copy in a folder it makes under a fresh name:
// nothing planted where the copy once went is run or changed, each run
// takes another folder, the question names the folder to be cleaned, and
// the copy and its folder go once it is done.
TEST(OwnFolders, UninstallerRunsFromAFreshFolderOfItsOwn)
{
    std::string product = InstalledProduct();
    std::string temp = TempFolder();
    std::string recorder = BuiltFile("..\\tests\\recorder.exe");
    std::set<std::string> before = FolderEntries(temp);
    std::vector<std::string> planted = {temp + "MorivaneUnInstall.exe"};
    std::string firstCopy;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::string program = product + "\\MorivaneUnInstall.exe";
        std::string command = "\"" + program + "\"";
        ASSERT_TRUE(CreateProcessA(program.c_str(), &command[0], NULL, NULL, FALSE,
                                   CREATE_SUSPENDED, NULL, product.c_str(), &startup, &process));
        // Where its copy went before: a name any program could predict.
        planted.push_back(temp + "MorivaneUnInstall-" + std::to_string(process.dwProcessId) + ".exe");
        for (const std::string &path : planted)
            ASSERT_TRUE(CopyFileA(recorder.c_str(), path.c_str(), FALSE));
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);

        HWND question = WaitForAnyWindow(kMessageCaption);
        ASSERT_NE(nullptr, question);
        std::string copy = ProgramOf(question);
        EXPECT_EQ("MorivaneUnInstall.exe", Name(copy));
        EXPECT_EQ(temp, Folder(Folder(copy)) + "\\") << copy;
        EXPECT_EQ(0u, before.count(Name(Folder(copy)))) << "a folder made by this run";
        EXPECT_NE(firstCopy, copy) << "each run takes another folder";
        firstCopy = copy;
        EXPECT_NE(std::string::npos, WindowText(Control(question, IDC_MSG_TEXT)).find(product));
        EXPECT_EQ("Remove Morivane and all of its files from " + product + "?",
                  WindowText(Control(question, IDC_MSG_SUBTEXT)));
        HANDLE running = OpenWindowProcess(question);
        Click(question, IDNO);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(running, 10000));
        CloseHandle(running);
        // A running program's file cannot go (nor, under Wine, can it): the
        // copy, then its folder, go at the next restart.
        std::vector<std::string> pending = PendingRemovals();
        std::vector<std::string> expected = {"\\??\\" + copy, "", "\\??\\" + Folder(copy), ""};
        EXPECT_TRUE(std::search(pending.begin(), pending.end(), expected.begin(),
                                expected.end()) != pending.end())
            << "the copy and its folder go at the next restart";
    }
    for (const std::string &path : planted) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(ReadWholeFile(recorder) == ReadWholeFile(path)) << "changed";
        EXPECT_FALSE(Exists(path + ".ran")) << "run";
        DeleteFileA(path.c_str());
    }
    EXPECT_TRUE(Exists(product + "\\sort.dic")) << "declined: nothing removed";
}

// Told to remove a folder that does not hold it, the uninstaller does
// nothing: no question, no file touched, not even its own.
TEST(OwnFolders, UninstallerRemovesOnlyAFolderThatHoldsIt)
{
    std::string product = InstalledProduct();
    std::string other = MakeScratchFolder("other");
    ASSERT_TRUE(WriteWholeFile(other + "\\sort.dic", "someone else's"));
    InstallerRun run;
    ASSERT_TRUE(run.Start(product + "\\MorivaneUnInstall.exe", product, "",
                          "/remove \"" + other + "\""));
    EXPECT_EQ(1, run.WaitForExit());
    EXPECT_EQ("someone else's", Contents(other + "\\sort.dic"));
    std::vector<std::string> pending = PendingRemovals();
    EXPECT_TRUE(std::find(pending.begin(), pending.end(),
                          "\\??\\" + product + "\\MorivaneUnInstall.exe") == pending.end())
        << "only a copy in a private folder removes itself";
}

}  // namespace
