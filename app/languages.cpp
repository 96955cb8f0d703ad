// The product's interface languages (see languages.h).
#include "app/languages.h"

#include "base/globals.h"
#include "texts.h"

const char *const kLanguageNames[] = {kLanguageNameEnglish, kLanguageNameSimplified,
                                      kLanguageNameTraditional, kLanguageNameGerman};
const int kOfferedLanguages[] = {LANGUAGE_ENGLISH, LANGUAGE_SIMPLIFIED, LANGUAGE_TRADITIONAL};

const char *UiLanguageName(int language)
{
    for (int offered : kOfferedLanguages)
        if (offered == language)
            return kLanguageNames[language];
    return kLanguageNames[LANGUAGE_ENGLISH];
}
