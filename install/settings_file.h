// The product's interface language in its settings file MorivaneUI.ini: the
// key UILanguage of section Config, edited in place.
#ifndef MORIVANE_SETTINGS_FILE_H
#define MORIVANE_SETTINGS_FILE_H

enum { SETTINGS_LINE_BUFFER = 256 };

// Writes UiLanguage into InstallDir\MorivaneUI.ini: overwrites the first line
// holding "UILanguage=" or appends a Config section, and leaves the file
// read-only and hidden. Creates no file. Always returns 1.
int WriteUiLanguage(void);

#endif
