// What a screen reader hears: the installer's controls answer WM_GETOBJECT
// with a small Active Accessibility object that names each one by what it
// draws, in Unicode, on any code page. Nothing here draws or lays out.
#ifndef MORIVANE_ACCESSIBLE_H
#define MORIVANE_ACCESSIBLE_H

#include <windows.h>
#include <oleacc.h>  // the ROLE_SYSTEM_ values of the tables

// nameFrom: the id of the control whose drawn caption names this one, or:
enum {
    NAME_NONE = 0,          // decorative: no name
    NAME_SYSTEM_TEXT = -1   // its window text, drawn by the system in the code page
};

// One control of a dialog: its id, its ROLE_SYSTEM_ role and its name
// source. Shorts: ids, roles and name sources all fit, and the tables are
// half the size.
struct AccessibleControl {
    short id;
    short role;
    short nameFrom;
};

// Gives the listed controls of `dialog` their accessible objects (by
// subclassing). A role of ROLE_SYSTEM_LIST makes each list-box line a child
// named by its GBK text. Without oleacc the controls stay as they are.
void MakeControlsAccessible(HWND dialog, const AccessibleControl *controls, int count);

// The UTF-16 of GBK text as the glyph atlas draws it, into out[capacity]
// with its NUL; bytes past the atlas's rows read as the code page has them.
// Returns the characters written without the NUL.
int GbkToWide(const char *text, WCHAR *out, int capacity);

#endif
