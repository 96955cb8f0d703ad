// Painters of the installer's owner-drawn controls: buttons and labels, the
// Chinese licence lines, and the option check boxes (subclassed with
// CheckBoxProc), each as its row of the dialog's description says.
#ifndef MORIVANE_OWNER_DRAW_H
#define MORIVANE_OWNER_DRAW_H

#include <windows.h>

#include "render/dialog_description.h"

// The message dialog's main text is drawn from its window text: at most this
// many bytes with the NUL, room for a whole path and the words around it.
enum { MESSAGE_TEXT_SIZE = 320 };

// Where a caption of width `width` starts inside `item`.
POINT CaptionOrigin(const RECT &item, int width, int align, int selected);

// The focus rectangle of an owner-drawn button.
RECT ButtonFocusRect(const RECT &item);

// The check box square for a client rectangle and button type (low style byte),
// and the DrawFrameControl state it is drawn with (before checked/inactive).
RECT CheckBoxSquare(const RECT &client, UINT buttonType, UINT *frameState);

// Paints a button or label with `caption`, or when null with the caption the
// dialog gives it now (such as the wizard's Next on the licence page), else
// its row's, else its window text (at most 79 bytes, or MESSAGE_TEXT_SIZE - 1
// for CONTROL_LONG_TEXT). A control without a row is 3D and centred.
void DrawOwnerButton(const DRAWITEMSTRUCT *item, const char *caption = NULL);
void DrawLicenceItem(const DRAWITEMSTRUCT *item, HWND dialog);
void PaintCheckBox(HWND checkBox, HDC dc);
LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The button procedure the check boxes had before CheckBoxProc; the value
// stored last serves all.
extern WNDPROC SavedButtonProc;

#endif
