/* Resource and control ids of the installer, shared by the resource script
   and the code. Only #define lines: windres, the C++ code and the build's
   resource packer all read this file. */
#ifndef MORIVANE_RESOURCE_IDS_H
#define MORIVANE_RESOURCE_IDS_H

/* Icon */
#define IDI_PRODUCT             103

/* "TEXT" resources: each holds one zlib stream */
#define IDR_PRODUCT_EXE         109
#define IDR_GLYPH_ATLAS         110
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
#define LICENCE_BUFFER_SIZE     65536
#define PAYLOAD_BUFFER_SIZE     1048576
#define SPEECH_BUFFER_SIZE      12582912

#endif
