// What start-up finds out about the system it runs on. Apart from startup.h,
// so that the installed programs can use it without carrying the wizard.
#ifndef MORIVANE_ENVIRONMENT_H
#define MORIVANE_ENVIRONMENT_H

#include <windows.h>

// 1 when the default ANSI code page uses more than one byte a character.
int IsDbcsCodePage(void);

// DisplayLanguage for a code-page kind and a system language: Simplified or
// Traditional only for a Chinese language on a double-byte code page, else
// English. Pure.
int DecideDisplayLanguage(int dbcsCodePage, LANGID systemLanguage);

// Sets IsWindowsNt, IsVersion3 and DisplayLanguage from the running system.
void DetectEnvironment(void);

#endif
