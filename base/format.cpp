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
        out[FitTextLength(out, size - 1)] = '\0';
        return 0;
    }
    return 1;
}

size_t FitTextLength(const char *text, size_t maxBytes)
{
    size_t i = 0;
    while (i < maxBytes && text[i] != '\0') {
        if ((unsigned char)text[i] < 0x80) {
            ++i;
            continue;
        }
        // A lead byte that ends the text is kept as it came: nothing was cut.
        // Checked before the bound, which would otherwise drop it for want
        // of room for a trail byte that is not there.
        if (text[i + 1] == '\0')
            return i + 1;
        if (i + 2 > maxBytes)
            break;
        i += 2;
    }
    return i;
}
