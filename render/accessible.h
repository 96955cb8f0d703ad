// What a screen reader hears: the installer's controls answer WM_GETOBJECT
// with a small Active Accessibility object that names each one by what it
// draws, in Unicode, on any code page. Nothing here draws or lays out.
#ifndef MORIVANE_ACCESSIBLE_H
#define MORIVANE_ACCESSIBLE_H

#include <windows.h>

// Gives `control` an accessible object (by subclassing) named and given a
// role by its row of the dialog's description (dialog_description.h). A role
// of ROLE_SYSTEM_LIST makes each list-box line a child named by its GBK text.
void MakeControlAccessible(HWND control);

// The UTF-16 of GBK text as the glyph atlas draws it, into out[capacity]
// with its NUL; bytes past the atlas's rows read as the code page has them.
// Returns the characters written without the NUL.
int GbkToWide(const char *text, WCHAR *out, int capacity);

#endif
