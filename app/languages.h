// The product's interface languages: one table, read by the wizard's list,
// the installed program and the tests. Apart from wizard.h, so that the
// installed program can name them without carrying the wizard.
#ifndef MORIVANE_LANGUAGES_H
#define MORIVANE_LANGUAGES_H

#include "base/globals.h"
#include "texts.h"

// One language. `value` is a LANGUAGE_ value: the item data of the wizard's
// list and what MorivaneUI.ini stores as UILanguage, so it never changes.
struct LanguageRow {
    const char *listName;     // as the wizard's list shows it
    const char *chineseName;  // as the installed program shows it; null if never offered
    char value;
    char offered;             // 1: in the wizard's list, in this order
};

// In the header, so that every reader sees how many rows it has.
static constexpr LanguageRow kLanguages[] = {
    {kLanguageNameEnglish, kProductEnglishName, LANGUAGE_ENGLISH, 1},
    {kLanguageNameSimplified, kProductSimplifiedName, LANGUAGE_SIMPLIFIED, 1},
    {kLanguageNameTraditional, kProductTraditionalName, LANGUAGE_TRADITIONAL, 1},
    // The product has a settings file for German (MorivaneUI_de.ini) but the
    // wizard does not offer it: the row keeps its value and name for it.
    {kLanguageNameGerman, 0, 3, 0},
};

// The row of an offered language (UiLanguage value), or null.
const LanguageRow *OfferedLanguage(int language);

// The list name of an interface language (UiLanguage value); "English" for
// a value that is not offered.
const char *UiLanguageName(int language);

#endif
