// Storage of the process's shared state (see globals.h).
#include "base/globals.h"

HINSTANCE AppInstance;
HICON ProductIcon;
int IsWindowsNt;
int IsVersion3;
int DisplayLanguage;
