// Storage of the installer's shared state (see globals.h).
#include "base/globals.h"

HINSTANCE AppInstance;
HWND MainDialog;
HICON ProductIcon;
int IsWindowsNt;
int IsVersion3;
int DisplayLanguage;
int UiLanguage;
int DesktopIconOption;
int AutoStartOption;
char InstallDir[MAX_PATH];
int WizardStep;
