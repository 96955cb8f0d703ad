// The product's interface languages as the wizard offers them. Apart from
// wizard.h, so that the installed program can name them without carrying the
// wizard.
#ifndef MORIVANE_LANGUAGES_H
#define MORIVANE_LANGUAGES_H

// Language list: names by UiLanguage value (German is never offered), and
// the values offered, in order.
extern const char *const kLanguageNames[4];
extern const int kOfferedLanguages[3];

// The name of an interface language (UiLanguage value), as the wizard's list
// offers it; "English" for a value outside the list.
const char *UiLanguageName(int language);

#endif
