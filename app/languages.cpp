// The product's interface languages as the wizard offers them (see
// wizard.h). Its own file, so that the installed program can name them
// without carrying the wizard.
#include "app/wizard.h"

// Language list: names by UiLanguage value, and the values offered, in order.
const char *const kLanguageNames[] = {"English", "Chinese(Simplified)",
                                              "Chinese(Traditional)", "German"};
const int kOfferedLanguages[] = {0, 1, 2};

const char *UiLanguageName(int language)
{
    for (int offered : kOfferedLanguages)
        if (offered == language)
            return kLanguageNames[language];
    return kLanguageNames[0];
}
