// Benchmark driver, run under Wine by scripts/benchmark.sh from a folder one
// level below the build whose installer it measures. Each mode prints lines
// "name value unit" with the median of its runs.
//   bench_driver firstwindow RUNS NAME EXE [NAME EXE...]
//                                                  process start to its first
//                                                  visible window, the
//                                                  programs taking turns
//   bench_driver windowpeak NAME RUNS EXE          peak working set once that
//                                                  window shows
//   bench_driver silent NAME RUNS EXE ARGS         process start to exit
//   bench_driver runinstall RUNS                   RunInstall in this process
//   bench_driver package RUNS INSTALLER MSI FOLDER the installer's package
//                                                  extracted as the offer does
//                                                  it, against CopyFileA of MSI
//   bench_driver peak RUNS FOLDER                  peak working set of the
//                                                  installer over a whole
//                                                  installation into FOLDER,
//                                                  the package accepted
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

#include "base/globals.h"
#include "install/install_state.h"
#include "app/wizard.h"
#include "install/install_run.h"
#include "install/resource_extract.h"
#include "installer_driver.h"
#include "render/glyph_atlas.h"
#include "render/glyph_atlas_resource.h"
#include "resources/resource_ids.h"

static double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

struct FirstWindow {
    DWORD processId;
    bool found;
};

static BOOL CALLBACK FindVisible(HWND window, LPARAM parameter)
{
    FirstWindow *search = (FirstWindow *)parameter;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

static std::string Quoted(const char *path) { return std::string("\"") + path + "\""; }

static bool Launch(const std::string &command, PROCESS_INFORMATION *process)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = command;
    return CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                          process) != 0;
}

static void End(PROCESS_INFORMATION *process)
{
    TerminateProcess(process->hProcess, 0);
    WaitForSingleObject(process->hProcess, 10000);
    CloseHandle(process->hProcess);
    CloseHandle(process->hThread);
    Sleep(200);
}

// Waits until the process shows a window; it is then ended.
static void WaitForFirstWindow(PROCESS_INFORMATION *process, double start)
{
    FirstWindow search = {process->dwProcessId, false};
    while (!search.found && Now() - start < 30000) {
        EnumWindows(FindVisible, (LPARAM)&search);
        if (!search.found)
            Sleep(1);
    }
}

static void WaitForExit(PROCESS_INFORMATION *process, double)
{
    WaitForSingleObject(process->hProcess, 120000);
}

// Starts `command` `runs` times and prints the median time until `until`
// returns; every process is ended afterwards.
static int TimeRuns(const char *name, int runs, const std::string &command,
                    void (*until)(PROCESS_INFORMATION *, double))
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        PROCESS_INFORMATION process;
        double start = Now();
        if (!Launch(command, &process))
            return 1;
        until(&process, start);
        times.push_back(Now() - start);
        End(&process);
    }
    printf("%s %.0f ms\n", name, Median(times));
    return 0;
}

// Each round starts every program once, in turn, so that the load of a
// shared machine falls on all of them alike; prints each one's median.
static int FirstWindows(int runs, int count, char **namesAndPaths)
{
    std::vector<std::vector<double> > times(count);
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < count; ++k) {
            PROCESS_INFORMATION process;
            double start = Now();
            if (!Launch(Quoted(namesAndPaths[2 * k + 1]), &process))
                return 1;
            WaitForFirstWindow(&process, start);
            times[k].push_back(Now() - start);
            End(&process);
        }
    }
    for (int k = 0; k < count; ++k)
        printf("%s %.0f ms\n", namesAndPaths[2 * k], Median(times[k]));
    return 0;
}

static int RunInstallTime(int runs)
{
    AppInstance = GetModuleHandleA(NULL);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (BuildGlyphAtlas() != ATLAS_BUILT)
        return 1;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        MainDialog = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL,
                                        MainDialogProc, 0);
        std::string folder = MakeScratchFolder("bench");
        strcpy(InstallDir, folder.c_str());
        for (int &option : InstallOptions)
            option = 1;
        double start = Now();
        int installed = RunInstall(MainDialog);
        times.push_back(Now() - start);
        DestroyWindow(MainDialog);
        if (!installed)
            return 1;
    }
    printf("runinstall %.1f ms\n", Median(times));
    return 0;
}

static double PeakKb(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return -1;
    return counters.PeakWorkingSetSize / 1024.0;
}

// Peak working set of a program once its first window shows (and has had
// a moment to paint).
static int WindowPeak(const char *name, int runs, const std::string &command)
{
    std::vector<double> peaks;
    for (int i = 0; i < runs; ++i) {
        PROCESS_INFORMATION process;
        double start = Now();
        if (!Launch(command, &process))
            return 1;
        WaitForFirstWindow(&process, start);
        Sleep(300);
        peaks.push_back(PeakKb(process.hProcess));
        End(&process);
    }
    printf("%s %.0f KB\n", name, Median(peaks));
    return 0;
}

// The package as the offer writes it: the resource of the installer image
// inflated in pieces straight into its file; against
// CopyFileA of the same bytes, in this process, on the same drive.
static int PackageTimes(int runs, const char *installer, const char *msi, const char *folder)
{
    AppInstance = LoadLibraryExA(installer, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (AppInstance == NULL)
        return 1;
    std::string extracted = std::string(folder) + "\\extracted.msi";
    std::string copied = std::string(folder) + "\\copied.msi";
    std::vector<double> extractTimes, copyTimes;
    // One round first, unmeasured: both sources in the file cache.
    for (int i = -1; i < runs; ++i) {
        DeleteFileA(extracted.c_str());
        DeleteFileA(copied.c_str());
        double start = Now();
        int written = ExtractResourceToFile(IDR_SPEECH_RUNTIME_MSI, "Sapi51forQuelt.msi",
                                            SPEECH_BUFFER_SIZE, 0, 0, extracted.c_str());
        double middle = Now();
        BOOL copiedOk = CopyFileA(msi, copied.c_str(), FALSE);
        double end = Now();
        if (!written || !copiedOk)
            return 1;
        if (i >= 0) {
            extractTimes.push_back(middle - start);
            copyTimes.push_back(end - middle);
        }
    }
    DeleteFileA(extracted.c_str());
    DeleteFileA(copied.c_str());
    printf("extract %.1f ms\ncopy %.1f ms\n", Median(extractTimes), Median(copyTimes));
    return 0;
}

// The next message dialog of the run other than `previous`, or null.
static HWND NextMessage(InstallerRun *run, HWND previous)
{
    HWND found = NULL;
    WaitUntil([&] {
        found = run->WaitForWindow(MESSAGE_CAPTION, 0);
        return found != NULL && found != previous;
    }, 30000);
    if (found == previous)
        return NULL;
    RoundTrip(found);  // a press before its modal loop runs may be lost
    return found;
}

// Walks one whole installation, OK to the offer, and follows the
// installer's peak working set until it exits (Wine reads it from the
// running process only).
static double PeakOfOneInstallation(const std::string &folder)
{
    InstallerRun run;
    if (!run.Start(InstallerPath()))
        return -1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE,
                                 FALSE, run.ProcessId());
    HWND wizard = run.WaitForWizard();
    if (process == NULL || wizard == NULL)
        return -1;
    SendMessageA(Control(wizard, IDC_PATH_EDIT), WM_SETTEXT, 0, (LPARAM)folder.c_str());
    // A press while the page is changing may be lost: each page is awaited.
    Click(wizard, IDC_NEXT);
    bool onLicence = WaitUntil([&] { return IsShown(wizard, IDC_LANGUAGE_COMBO); }) &&
                     (Click(wizard, IDC_NEXT), WaitUntil([&] { return IsShown(wizard, IDC_ENGLISH); }));
    HWND outcome = NULL, offer = NULL;
    if (onLicence) {
        Click(wizard, IDC_NEXT);
        outcome = NextMessage(&run, NULL);
    }
    if (outcome != NULL) {
        Click(outcome, IDOK);
        offer = NextMessage(&run, outcome);
    }
    if (offer != NULL)
        Click(offer, IDOK);
    double peak = -1;
    DWORD start = GetTickCount();
    do
        peak = std::max(peak, PeakKb(process));
    while (offer != NULL && WaitForSingleObject(process, 10) == WAIT_TIMEOUT &&
           GetTickCount() - start < 60000);
    CloseHandle(process);
    return run.WaitForExit(0) == 0 ? peak : -1;
}

static int PeakWorkingSet(int runs, const char *folder)
{
    // The installer makes the last folder of the path only.
    CreateDirectoryA(folder, NULL);
    std::vector<double> peaks;
    for (int i = 0; i < runs; ++i) {
        std::string target = std::string(folder) + "\\run" + std::to_string(i);
        double peak = PeakOfOneInstallation(target);
        if (peak < 0)
            return 1;
        peaks.push_back(peak);
    }
    printf("peak %.0f KB\n", Median(peaks));
    return 0;
}

static std::string CommandLine(int argc, char **argv, int first)
{
    std::string command = Quoted(argv[first]);
    for (int i = first + 1; i < argc; ++i)
        command += std::string(" ") + argv[i];
    return command;
}

int main(int argc, char **argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "firstwindow" && argc >= 5 && argc % 2 == 1)
        return FirstWindows(atoi(argv[2]), (argc - 3) / 2, argv + 3);
    if (mode == "windowpeak" && argc >= 5)
        return WindowPeak(argv[2], atoi(argv[3]), CommandLine(argc, argv, 4));
    if (mode == "silent" && argc >= 5)
        return TimeRuns(argv[2], atoi(argv[3]), CommandLine(argc, argv, 4), WaitForExit);
    if (mode == "runinstall" && argc == 3)
        return RunInstallTime(atoi(argv[2]));
    if (mode == "package" && argc == 6)
        return PackageTimes(atoi(argv[2]), argv[3], argv[4], argv[5]);
    if (mode == "peak" && argc == 4)
        return PeakWorkingSet(atoi(argv[2]), argv[3]);
    fprintf(stderr, "usage: see the top of bench_driver.cpp\n");
    return 2;
}
