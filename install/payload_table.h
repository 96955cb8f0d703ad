// The files the installation writes, and the names it gives the product's
// shortcuts: the rows come from resources/text_resources.tsv through the
// generated payload_rows.h, and are read by the installation run, the verify
// command, the sample uninstaller and the tests.
#ifndef MORIVANE_PAYLOAD_TABLE_H
#define MORIVANE_PAYLOAD_TABLE_H

#include <windows.h>

#include "payload_rows.h"

// Attribute flags of a payload row.
enum { PAYLOAD_READ_ONLY = 1, PAYLOAD_HIDDEN = 2 };

// One payload file: resource, installed name, PAYLOAD_ flags, and the
// progress position set after it is written (0: none).
struct PayloadEntry {
    WORD id;
    const char *fileName;
    int attributes;
    int progressAfter;
};

// The rows in the order they are written.
extern const PayloadEntry PayloadTable[PAYLOAD_ROWS];

// The row that installs resource `id`, or null.
const PayloadEntry *FindPayloadRow(WORD id);

// Names by DisplayLanguage, stored in that language's code page.
const char *ProductDisplayName(int displayLanguage);
const char *UninstallerDisplayName(int displayLanguage);

#endif
