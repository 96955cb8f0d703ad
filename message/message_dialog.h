// The one message dialog of the installer: a Chinese main text drawn from the
// glyph atlas, an optional English secondary text drawn by the system, and OK,
// OK and Cancel, or Yes and No. It sizes itself to its texts and centres itself.
#ifndef MORIVANE_MESSAGE_DIALOG_H
#define MORIVANE_MESSAGE_DIALOG_H

#include <windows.h>

#include "render/owner_draw.h"

enum { MESSAGE_SUBTEXT_SIZE = 128 };
static_assert(MESSAGE_TEXT_SIZE >= MAX_PATH + 32, "a whole path and the words around it");

// Modes, the values of the system message box types: OK; OK and Cancel;
// Yes and No. Any other value shows OK and Cancel.
enum { MESSAGE_OK = MB_OK, MESSAGE_OK_CANCEL = MB_OKCANCEL, MESSAGE_YES_NO = MB_YESNO };

// Mode of the dialog being shown, a MESSAGE_ value.
extern int MessageDialogMode;
// The secondary text of the dialog being shown; empty when there is none.
extern char MessageSubText[MESSAGE_SUBTEXT_SIZE];

// The message dialog's controls as they are drawn and named.
extern const DialogControl kMessageControls[];
extern const int kMessageControlCount;

// A main text shorter than this many bytes widens the window by two button
// heights.
enum { MESSAGE_SHORT_TEXT_BYTES = 81 };
// Two buttons stand the button width over this apart. Their size is the
// template's (MESSAGE_BUTTON_WIDTH, MESSAGE_BUTTON_HEIGHT in resource_ids.h).
enum { MESSAGE_BUTTON_GAP_DIVISOR = 3 };
// The button size, in pixels, when the template lacks the first button.
enum { MESSAGE_MISSING_BUTTON_WIDTH = 82, MESSAGE_MISSING_BUTTON_HEIGHT = 12 };

// What the layout is computed from, all in pixels.
struct MessageMetrics {
    int mode;
    int mainWidth, mainHeight;  // MeasureGbkText of the main text
    int mainBytes;              // length of the main text
    int subWidth, subHeight;    // the secondary text, 0 x 0 when none
    int buttonWidth, buttonHeight;
    int dlgFrameX, screenX, screenY, captionY;  // system metrics
};

struct MessageWindowPlacement {
    int width, height;  // the text-derived Width and Height
    int minWidth;       // the narrowest the window may be
    RECT window;        // left, top, right, bottom of the placed window
};

// A control's place in client coordinates, as MoveWindow takes it.
struct ControlBox {
    int x, y, width, height;
};

struct MessageControlLayout {
    int firstButton, secondButton;  // ids; secondButton is 0 in mode 0
    POINT first, second;            // top-left corners of the buttons
    ControlBox mainText;
    ControlBox subText;
};

// The dialog's texts, buttons and the system's metrics, measured as the
// dialog measures them for `mainText`.
void MeasureMessageDialog(HWND dialog, const char *mainText, MessageMetrics *m);

MessageWindowPlacement PlaceMessageWindow(const MessageMetrics &m);
// Controls for the client width the placed window got.
MessageControlLayout LayOutMessageControls(const MessageMetrics &m,
                                           const MessageWindowPlacement &placement,
                                           const RECT &client);

// Shows the dialog modally and returns IDOK, IDCANCEL (also Esc and the close
// box), IDYES or IDNO. The main text is cut to MESSAGE_TEXT_SIZE - 1 bytes,
// `subText` (may be null) to 127.
int ShowMessageDialog(const char *mainText, const char *subText, int mode, HWND owner);

// A Yes/No question naming `folder` in both texts (`mainFormat` and
// `subFormat` each hold one %s). A sub text that would not fit its 127 bytes
// is `subText`, which speaks of the folder named above. 1 for Yes.
int AskAboutFolder(const char *mainFormat, const char *subFormat, const char *subText,
                   const char *folder, HWND owner);
INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
