// Path composition with a bound (see join_path.h).
#include "base/join_path.h"

#include <string.h>

#include "base/format.h"

int JoinInstallPath(char *out, size_t outSize, const char *folder, const char *name)
{
    // A drive root ("C:\") ends in its backslash already.
    size_t length = strlen(folder);
    const char *separator = length > 0 && folder[length - 1] == '\\' ? "" : "\\";
    if (!FormatText(out, outSize, "%s%s%s", folder, separator, name)) {
        if (outSize > 0)
            out[0] = '\0';
        return 0;
    }
    return 1;
}
