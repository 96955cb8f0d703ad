// Bounded text formatting for the installer's fixed buffers.
#ifndef MORIVANE_FORMAT_H
#define MORIVANE_FORMAT_H

#include <stddef.h>

// Formats into out[size] like printf, always ending in a NUL. Returns 1 when
// the whole text fitted, 0 when it was cut (or size is 0); a cut never ends
// in half a double-byte character.
int FormatText(char *out, size_t size, const char *format, ...);

// Length of the longest start of `text` of at most maxBytes bytes that does
// not end in half a double-byte character: a lead byte (0x80 and above) whose
// trail byte would not fit is dropped with it.
size_t FitTextLength(const char *text, size_t maxBytes);

#endif
