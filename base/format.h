// Bounded text formatting for the installer's fixed buffers.
#ifndef MORIVANE_FORMAT_H
#define MORIVANE_FORMAT_H

#include <stddef.h>

// Formats into out[size] like printf, always ending in a NUL. Returns 1 when
// the whole text fitted, 0 when it was cut (or size is 0).
int FormatText(char *out, size_t size, const char *format, ...);

#endif
