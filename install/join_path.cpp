// Path composition with a bound (declared in resource_extract.h). Its own
// file, so that programs which only join paths do not carry the inflater.
#include "install/resource_extract.h"

#include "app/format.h"

int JoinInstallPath(char *out, size_t outSize, const char *folder, const char *name)
{
    if (!FormatText(out, outSize, "%s\\%s", folder, name)) {
        if (outSize > 0)
            out[0] = '\0';
        return 0;
    }
    return 1;
}
