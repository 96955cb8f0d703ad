// The product's interface languages (see languages.h).
#include "app/languages.h"

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
