// The product's interface language in its settings file MorivaneUI.ini: the
// key UILanguage of section Config, edited on a copy that then replaces it.
#ifndef MORIVANE_SETTINGS_FILE_H
#define MORIVANE_SETTINGS_FILE_H

enum { SETTINGS_LINE_BUFFER = 256 };

// Writes UiLanguage into InstallDir\MorivaneUI.ini: overwrites the first line
// holding "UILanguage=" or appends a Config section, and leaves the file
// read-only and hidden. Creates no file: 1 when there is none. 0 when the
// edited file could not be written or put in place, the file unchanged.
int WriteUiLanguage(void);

#endif
