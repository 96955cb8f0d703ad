// Path composition with a bound (see join_path.h).
#include "base/join_path.h"

#include "base/format.h"

int JoinInstallPath(char *out, size_t outSize, const char *folder, const char *name)
{
    if (!FormatText(out, outSize, "%s\\%s", folder, name)) {
        if (outSize > 0)
            out[0] = '\0';
        return 0;
    }
    return 1;
}
