// The 25 files the installation writes, and the names it gives the product's
// shortcuts: data in one place, read by the installation run, the verify
// command and the sample uninstaller.
#ifndef MORIVANE_PAYLOAD_TABLE_H
#define MORIVANE_PAYLOAD_TABLE_H

#include <windows.h>

// One payload file: resource, installed name, attributes, and the progress
// position set after it is written (0: none).
struct PayloadEntry {
    WORD id;
    const char *fileName;
    int readOnly;
    int hidden;
    int progressAfter;
};

enum { PAYLOAD_ROWS = 25 };

// The rows in the order they are written.
extern const PayloadEntry PayloadTable[PAYLOAD_ROWS];

// Names by DisplayLanguage, stored in that language's code page.
const char *ProductDisplayName(int displayLanguage);
const char *UninstallerDisplayName(int displayLanguage);

#endif
