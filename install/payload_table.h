// What an installation makes: the files it writes (their rows come from
// resources/text_resources.tsv through the generated payload_rows.h) and the
// shortcuts to them, with their names. Read by the installation run, the
// verify command, the sample uninstaller and the tests.
#ifndef MORIVANE_PAYLOAD_TABLE_H
#define MORIVANE_PAYLOAD_TABLE_H

#include <windows.h>

#include <shlobj.h>  // the CSIDL_ folders of the shortcut rows

#include "payload_rows.h"
#include "resources/resource_ids.h"

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

// The options of the first page that make something, as indexes of the
// user's choices; OPTION_ALWAYS for what is made whatever they are.
// The first page's check boxes (resource_ids.h) give their values.
#define MORIVANE_OPTION_VALUE(name, id, option, top, caption, text, checked) option,
enum { MORIVANE_OPTION_BOXES(MORIVANE_OPTION_VALUE) OPTION_COUNT, OPTION_ALWAYS = -1 };
#undef MORIVANE_OPTION_VALUE

// One shortcut the installation makes: the special folder it goes into
// (CSIDL_PROGRAMS: into the product's group folder there), its name by
// DisplayLanguage, the payload row it opens and the option that makes it.
struct ShortcutRow {
    int csidl;
    const char *(*name)(int displayLanguage);
    WORD target;
    int option;
};

// In the order they are made, a folder's shortcuts together. In the header,
// so that every reader sees how many rows it has.
static constexpr ShortcutRow ShortcutTable[] = {
    {CSIDL_PROGRAMS, ProductDisplayName, IDR_PRODUCT_EXE, OPTION_ALWAYS},
    {CSIDL_PROGRAMS, UninstallerDisplayName, IDR_UNINSTALLER_EXE, OPTION_ALWAYS},
    {CSIDL_DESKTOP, ProductDisplayName, IDR_PRODUCT_EXE, OPTION_DESKTOP_ICON},
    {CSIDL_STARTUP, ProductDisplayName, IDR_PRODUCT_EXE, OPTION_AUTOSTART},
};
enum { SHORTCUT_ROWS = sizeof ShortcutTable / sizeof ShortcutTable[0] };

// The one setting an installation writes: `key` in section `section` of
// the settings file that payload row `file` installs, set to the chosen
// UiLanguage. Read by the run and the installed program.
struct SettingsEdit {
    WORD file;
    const char *section;
    const char *key;
};
static constexpr SettingsEdit kSettingsEdit = {IDR_SETTINGS_INI, "Config", "UILanguage"};

// The installed name of the payload row a shortcut opens.
const char *ShortcutTarget(const ShortcutRow &row);

#endif
