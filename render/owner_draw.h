// Painters of the installer's owner-drawn controls: buttons and labels from
// the GBK caption table, the Chinese licence lines, and the two option check
// boxes (subclassed with CheckBoxProc).
#ifndef MORIVANE_OWNER_DRAW_H
#define MORIVANE_OWNER_DRAW_H

#include <windows.h>

enum { FACE_3D, FACE_FLAT };

// The message dialog's main text is drawn from its window text: at most this
// many bytes with the NUL, room for a whole path and the words around it.
enum { MESSAGE_TEXT_SIZE = 320 };
enum { ALIGN_CENTRE, ALIGN_LEFT };

// One row of the caption table. A null caption means the control's own
// window text (at most 79 bytes; the message text up to MESSAGE_TEXT_SIZE).
struct OwnerCaption {
    const char *caption;
    short id;
    char face;   // FACE_
    char align;  // ALIGN_
};

// Sent to a dialog for the caption it gives control wParam in place of its
// row's now: the dialog answers the GBK text, or 0 for the row's.
enum { WM_OWNER_CAPTION = WM_APP + 1 };

// The row for a control id; ids outside the table get a 3D, centred face with
// their window text.
OwnerCaption FindOwnerCaption(int id);

// The check-box caption of 1004 or 1005, or null for any other id.
const char *FindCheckBoxCaption(int id);

// Where a caption of width `width` starts inside `item`.
POINT CaptionOrigin(const RECT &item, int width, int align, int selected);

// The focus rectangle of an owner-drawn button.
RECT ButtonFocusRect(const RECT &item);

// The check box square for a client rectangle and button type (low style byte),
// and the DrawFrameControl state it is drawn with (before checked/inactive).
RECT CheckBoxSquare(const RECT &client, UINT buttonType, UINT *frameState);

// Paints a button or label with `caption`, or with its row's caption when
// null (the dialog chooses, such as the wizard's Next on the licence page).
void DrawOwnerButton(const DRAWITEMSTRUCT *item, const char *caption = NULL);
void DrawLicenceItem(const DRAWITEMSTRUCT *item, HWND dialog);
void PaintCheckBox(HWND checkBox, HDC dc);
LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The button procedure the check boxes had before CheckBoxProc; the value
// stored last serves both.
extern WNDPROC SavedButtonProc;

#endif
