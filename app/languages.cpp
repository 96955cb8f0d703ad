// The product's interface languages (see languages.h).
#include "app/languages.h"

#include "base/globals.h"
#include "texts.h"

const LanguageRow kLanguages[] = {
    {kLanguageNameEnglish, kProductEnglishName, LANGUAGE_ENGLISH, 1},
    {kLanguageNameSimplified, kProductSimplifiedName, LANGUAGE_SIMPLIFIED, 1},
    {kLanguageNameTraditional, kProductTraditionalName, LANGUAGE_TRADITIONAL, 1},
    // A language the product has a settings file for (MorivaneUI_de.ini) but
    // the wizard does not offer: the row keeps its value and name for it.
    {kLanguageNameGerman, 0, LANGUAGE_GERMAN, 0},
};

const LanguageRow *OfferedLanguage(int language)
{
    for (const LanguageRow &row : kLanguages)
        if (row.value == language && row.offered)
            return &row;
    return 0;
}

const char *UiLanguageName(int language)
{
    const LanguageRow *row = OfferedLanguage(language);
    return row ? row->listName : kLanguageNameEnglish;
}
