/* Control styles shared by the resource scripts. */
#ifndef MORIVANE_DIALOG_STYLES_H
#define MORIVANE_DIALOG_STYLES_H
#define OWNER_BUTTON  BS_OWNERDRAW | WS_TABSTOP
#define OWNER_LABEL   BS_OWNERDRAW | WS_DISABLED
#define HIDDEN        NOT WS_VISIBLE
#endif
