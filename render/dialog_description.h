// A dialog described by the layer that owns it: each of its controls, once,
// with what it draws (caption, face, alignment) and what a screen reader
// hears (role, name). render/ draws and names what it is handed and knows no
// dialog's controls.
#ifndef MORIVANE_DIALOG_DESCRIPTION_H
#define MORIVANE_DIALOG_DESCRIPTION_H

#include <windows.h>

#include <oleacc.h>  // the ROLE_SYSTEM_ values of the tables

// Faces of owner-drawn buttons and labels; FACE_NONE paints nothing at all.
enum { FACE_3D, FACE_FLAT, FACE_NONE };
enum { ALIGN_CENTRE, ALIGN_LEFT };
// CONTROL_DEFAULT_FRAME: the black frame of the default button, focused or
// not. CONTROL_LONG_TEXT: drawn from a window text of up to
// MESSAGE_TEXT_SIZE - 1 bytes, not 79.
enum { CONTROL_DEFAULT_FRAME = 1, CONTROL_LONG_TEXT = 2 };
// role: ROLE_NONE for a control the system names itself. nameFrom: the id
// of the control whose drawn caption names this one, or:
enum { ROLE_NONE = 0 };
enum {
    NAME_NONE = 0,          // decorative: no name
    NAME_SYSTEM_TEXT = -1   // its window text, drawn by the system in the code page
};

// One control. caption: GBK, from the text table; null for the control's own
// window text. group: the owning dialog's own use (the wizard's page).
struct DialogControl {
    short id;
    short role;
    short nameFrom;
    char face;
    char align;
    char flags;
    char group;
    const char *caption;
};

// Hands `dialog` the description of its controls, which must outlive it:
// each listed control is drawn and named by its row from now on, and those
// with a role answer screen readers (without oleacc they stay as they are).
void DescribeDialog(HWND dialog, const DialogControl *controls, int count);

// The row of control `id` in controls[count], or null. Pure.
const DialogControl *FindDialogControl(const DialogControl *controls, int count, int id);

// The row `control` was described by, or null.
const DialogControl *DescribedControl(HWND control);

// Sent to a dialog for the caption it gives control wParam in place of its
// row's now: the dialog answers the GBK text, or 0 for the row's.
enum { WM_OWNER_CAPTION = WM_APP + 1 };

// The caption `control` shows now: the dialog's answer to WM_OWNER_CAPTION,
// else its row's; null for its window text.
const char *DescribedCaption(HWND control);

#endif
