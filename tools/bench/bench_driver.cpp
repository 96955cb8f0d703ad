// Benchmark driver, run under Wine by scripts/benchmark.sh. Each mode prints
// one line "name value unit" with the median of its runs.
//   bench_driver firstwindow NAME RUNS EXE [ARGS]  process start to its first
//                                                  visible window
//   bench_driver runinstall RUNS                   RunInstall in this process
//   bench_driver silent NAME RUNS EXE ARGS         process start to exit
//   bench_driver peak RUNS FOLDER                  peak working set of the
//                                                  installer over a whole
//                                                  installation into FOLDER
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
#include "app/wizard.h"
#include "install/install_run.h"
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
        DesktopIconOption = AutoStartOption = 1;
        double start = Now();
        int installed = RunInstall();
        times.push_back(Now() - start);
        DestroyWindow(MainDialog);
        if (!installed)
            return 1;
    }
    printf("runinstall %.1f ms\n", Median(times));
    return 0;
}

// Walks one whole installation and reads the installer's peak working set
// while its outcome message is on the screen.
static double PeakOfOneInstallation(const std::string &folder)
{
    InstallerRun run;
    if (!run.Start(InstallerPath()))
        return -1;
    HWND wizard = run.WaitForWizard();
    if (wizard == NULL)
        return -1;
    SendMessageA(Control(wizard, IDC_PATH_EDIT), WM_SETTEXT, 0, (LPARAM)folder.c_str());
    for (int page = 0; page < 2; ++page) {
        Click(wizard, IDC_NEXT);
        Sleep(200);
    }
    Click(wizard, IDC_NEXT);
    HWND message = run.WaitForWindow("Dorvinel Install Message", 30000);
    double peak = -1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                 run.ProcessId());
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (process != NULL && GetProcessMemoryInfo(process, &counters, sizeof counters))
        peak = counters.PeakWorkingSetSize / 1024.0;
    if (process != NULL)
        CloseHandle(process);
    if (message != NULL) {
        Click(message, IDOK);
        Sleep(300);
        HWND offer = NULL;
        WaitUntil([&] {
            offer = run.WaitForWindow("Dorvinel Install Message", 0);
            return offer != NULL && offer != message;
        }, 10000);
        if (offer != NULL)
            Click(offer, IDCANCEL);
    }
    run.WaitForExit();
    return peak;
}

static int PeakWorkingSet(int runs, const char *folder)
{
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

int main(int argc, char **argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "firstwindow" && argc >= 5) {
        std::string command = Quoted(argv[4]);
        for (int i = 5; i < argc; ++i)
            command += std::string(" ") + argv[i];
        return TimeRuns(argv[2], atoi(argv[3]), command, WaitForFirstWindow);
    }
    if (mode == "silent" && argc >= 5) {
        std::string command = Quoted(argv[4]);
        for (int i = 5; i < argc; ++i)
            command += std::string(" ") + argv[i];
        return TimeRuns(argv[2], atoi(argv[3]), command, WaitForExit);
    }
    if (mode == "runinstall" && argc == 3)
        return RunInstallTime(atoi(argv[2]));
    if (mode == "peak" && argc == 4)
        return PeakWorkingSet(atoi(argv[2]), argv[3]);
    fprintf(stderr, "usage: see the top of bench_driver.cpp\n");
    return 2;
}
