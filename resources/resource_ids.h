/* Resource and control ids of the installer, shared by the resource script
   and the code. Only #define lines, and the option boxes' ids for the code:
   windres, the C++ code and the build's resource packer all read this
   file. */
#ifndef MORIVANE_RESOURCE_IDS_H
#define MORIVANE_RESOURCE_IDS_H

/* Version of the product this installer carries */
#define MORIVANE_VERSION_NUMBERS 1,0,0,0
#define MORIVANE_VERSION_TEXT    "1.0.0.0"

/* Icon */
#define IDI_PRODUCT             103

/* Standard button ids, for the resource script (the code has windows.h) */
#ifndef IDOK
#define IDOK                    1
#define IDCANCEL                2
#define IDYES                   6
#define IDNO                    7
#endif

/* Main dialog (wizard) */
#define IDD_MAIN                114
#define IDC_PRODUCT_ICON        102
#define IDC_DIVIDER             108
#define IDC_PRODUCT_NAME        166
#define IDC_INSTALLER_CAPTION   169
#define IDC_WEB_ADDRESS         172
#define IDC_BACK                3
#define IDC_NEXT                1001
#define IDC_PATH_EDIT           1002
#define IDC_BROWSE              1003
#define IDC_PATH_LABEL          1006
#define IDC_TITLE_LABEL         1009
#define IDC_ENGLISH             1010
#define IDC_EDITION_LABEL       1011
#define IDC_INSTALLER_LABEL     1012
#define IDC_LICENCE_EN          1014
#define IDC_LANGUAGE_LABEL      1017
#define IDC_LANGUAGE_COMBO      1018
#define IDC_LICENCE_ZH          1019
#define IDC_BLANK_LABEL         1020
#define IDC_WAIT_LABEL          1021
#define IDC_PROGRESS            1026

/* The first page's option check boxes, in tab order, one row each:
   X(id name, id, OPTION_ value, top in dialog units, caption row of
   texts.tsv, template caption, 1 when checked at start). The resource script
   makes the boxes of it, the code their ids, OPTION_ values and drawn rows;
   what each option makes is its row of ShortcutTable. */
#define MORIVANE_OPTION_BOXES(X) \
    X(IDC_DESKTOP_ICON, 1004, OPTION_DESKTOP_ICON, 80, kDesktopIconCaption, \
      "Place an icon on Desktop", 1) \
    X(IDC_AUTOSTART, 1005, OPTION_AUTOSTART, 104, kAutoStartCaption, "Auto-start on boot", 0)
#ifndef RC_INVOKED
#define MORIVANE_OPTION_ID(name, id, option, top, caption, text, checked) \
    constexpr int name = id;
MORIVANE_OPTION_BOXES(MORIVANE_OPTION_ID)
#undef MORIVANE_OPTION_ID
#endif

/* Message dialog */
#define IDD_MESSAGE             112
/* Its caption, by which the tests find it, and its buttons in dialog units
   (placed at run time). */
#define MESSAGE_CAPTION         "Dorvinel Install Message"
#define MESSAGE_BUTTON_WIDTH    73
#define MESSAGE_BUTTON_HEIGHT   18
#define IDC_MSG_TEXT            1013
#define IDC_MSG_SUBTEXT         1028

/* Sample product program (its Chinese label reuses IDC_MSG_TEXT) */
#define IDD_PRODUCT             300
#define IDC_LANGUAGE_NAME       3001

/* Folder chooser */
#define IDD_CHOOSE_DIR          168
#define IDC_DIRS_LABEL          1008
#define IDC_DRIVES_LABEL        1010

/* "TEXT" resources: each holds one zlib stream */
#define IDR_PRODUCT_EXE         109
#define IDR_GLYPH_ATLAS         110
#define IDR_GBK_UNICODE         111
#define IDR_WELCOME_JPG         119
#define IDR_SETTINGS_INI        120
#define IDR_LICENCE_ZH          124
#define IDR_LICENCE_EN          161
#define IDR_GUIDE_HTM           177
#define IDR_UNINSTALLER_EXE     192
#define IDR_GUIDE_B5_HTM        194
#define IDR_GUIDE_EN_HTM        195
#define IDR_BARMENU_JPG         196
#define IDR_BARMENU_EN_JPG      197
#define IDR_DESKTOP_JPG         199
#define IDR_GBK2B5_BIN          200
#define IDR_CH2PY_BIN           201
#define IDR_CH2PYPZ1_BIN        202
#define IDR_CH2PYPZ2_BIN        203
#define IDR_SORT_DIC            204
#define IDR_ZIPARTS_STD_DAT     205
#define IDR_ZIPARTS_BASE_DAT    206
#define IDR_ZIDEF_DIC           207
#define IDR_TASKICON_JPG        217
#define IDR_TOOLBAR_JPG         218
#define IDR_SETTINGS_DE_INI     228
#define IDR_CTRLMENU_PNG        229
#define IDR_CTRLMENU_EN_PNG     230
#define IDR_TEVAIINFO_PNG       231
#define IDR_TEVAIINFO_EN_PNG    232
#define IDR_GUIDE_B5_COPY_HTM   235
#define IDR_SPEECH_RUNTIME_MSI  1029

/* Capacities of the buffers that read "TEXT" resources, in bytes. The build
   refuses an input that would not inflate into its reader's buffer. */
#define ATLAS_BUFFER_SIZE       307200
/* 47 shipped atlas rows of 94 UTF-16 characters */
#define GBK_UNICODE_SIZE        8836
#define LICENCE_BUFFER_SIZE     65536
#define PAYLOAD_BUFFER_SIZE     1048576
#define SPEECH_BUFFER_SIZE      12582912

/* The Chinese licence as the wizard lists it: at most this many lines, each
   drawn from a buffer of this many bytes. The build refuses a longer one. */
#define LICENCE_MAX_LINES       500
#define LICENCE_LINE_BUFFER     260

#endif
