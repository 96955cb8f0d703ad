// Entry point of MorivaneSetup.exe. The installer takes no command line and
// uses nothing of the C runtime's start-up code (arguments, environment,
// thread-local storage, constructors: it has no global object that needs
// one): the system C library sets itself up when it is loaded, so the
// program starts here directly and ends through ExitProcess.
#include <windows.h>

#include "app/startup.h"

// The loader keeps only 4-byte stack alignment on the 32-bit target.
extern "C" __attribute__((force_align_arg_pointer)) void MorivaneStart(void)
{
    ExitProcess((UINT)RunInstaller(GetModuleHandleA(NULL)));
}
