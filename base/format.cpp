// Bounded text formatting (see format.h). It uses the system C library's
// formatter rather than the toolchain's own, which would add some 20 KB of
// floating-point formatting to the installer; the system one does not
// terminate a cut text, so that is done here.
#include "base/format.h"

#include <stdarg.h>
#include <stdio.h>

int FormatText(char *out, size_t size, const char *format, ...)
{
    if (size == 0)
        return 0;
    va_list arguments;
    va_start(arguments, format);
    int written = _vsnprintf(out, size, format, arguments);
    va_end(arguments);
    if (written < 0 || (size_t)written >= size) {
        out[size - 1] = '\0';
        return 0;
    }
    return 1;
}
