// The payload table and the names the installation gives the product (see
// payload_table.h).
#include "install/payload_table.h"

#include <shlobj.h>

#include "base/globals.h"
#include "resources/resource_ids.h"
#include "texts.h"

// Sized by its rows: the declaration's size must agree, so a row left out
// cannot hide as a zero entry.
const PayloadEntry PayloadTable[] = {PAYLOAD_ROWS_DATA};
static_assert((int)PAYLOAD_LONGEST_NAME + sizeof "C:\\" <= MAX_PATH,
              "every installed name fits a path, at least under a drive root");

const PayloadEntry *FindPayloadRow(WORD id)
{
    for (const PayloadEntry &row : PayloadTable)
        if (row.id == id)
            return &row;
    return NULL;
}

// Program and uninstaller names by DisplayLanguage.
static const char *const kProductNames[] = {kProductNameEnglish, kProductNameSimplified,
                                            kProductNameTraditional};
static const char *const kUninstallerNames[] = {
    kUninstallerNameEnglish, kUninstallerNameSimplified, kUninstallerNameTraditional};

static int ValidLanguage(int displayLanguage)
{
    return (unsigned)displayLanguage < sizeof kProductNames / sizeof *kProductNames
               ? displayLanguage
               : LANGUAGE_ENGLISH;
}

const char *ProductDisplayName(int displayLanguage)
{
    return kProductNames[ValidLanguage(displayLanguage)];
}

const char *UninstallerDisplayName(int displayLanguage)
{
    return kUninstallerNames[ValidLanguage(displayLanguage)];
}

// The run makes a folder's shortcuts in one go, the group's first.
static constexpr int FolderRowsTogether(void)
{
    for (int i = 0; i < SHORTCUT_ROWS; ++i)
        for (int j = i + 2; j < SHORTCUT_ROWS; ++j)
            if (ShortcutTable[j].csidl == ShortcutTable[i].csidl &&
                ShortcutTable[j - 1].csidl != ShortcutTable[i].csidl)
                return 0;
    return ShortcutTable[0].csidl == CSIDL_PROGRAMS;
}
static_assert(FolderRowsTogether(), "each folder's shortcut rows follow one another");

const char *ShortcutTarget(const ShortcutRow &row)
{
    const PayloadEntry *target = FindPayloadRow(row.target);
    return target != NULL ? target->fileName : NULL;
}
