// The one reader of "TEXT" resources: each is one zlib stream under an
// integer id, inflated in one call into a buffer the caller owns, or in
// pieces handed to the caller as they come. It takes
// the module to read, so the installer, the verify command and the tests
// share it. Nothing here shows a message or writes a file.
#ifndef MORIVANE_TEXT_RESOURCE_H
#define MORIVANE_TEXT_RESOURCE_H

#include <windows.h>

// Finds "TEXT" resource `id` of `module` (whatever its language). Returns 1
// with its bytes, or 0 with *bytes null and *size 0 when there is none. The
// bytes belong to the loaded image.
int FindTextResource(HMODULE module, WORD id, const unsigned char **bytes, DWORD *size);

// zlib's one-call uncompress: *length is the capacity on entry and the count
// produced on success. Returns Z_OK (0) or a zlib error code.
int UncompressResource(unsigned char *dest, unsigned long *length,
                       const unsigned char *source, unsigned long sourceLength);

// Finds resource `id` and inflates it into buffer[*length]; *length becomes
// the count produced. A missing resource inflates as empty data and fails.
// Returns Z_OK (0) or a zlib error code.
int InflateTextResource(HMODULE module, WORD id, unsigned char *buffer, unsigned long *length);

// Takes each inflated piece in order: 1 to go on, 0 to stop the inflating.
typedef int (*InflatedPieceSink)(void *context, const unsigned char *piece, unsigned long length);

enum { INFLATE_PIECE_SIZE = 65536 };

// Inflates resource `id` of `module` through one small buffer, handing each
// piece to `sink`: no buffer of the whole content is ever needed. Z_OK (0)
// once the whole stream, checksum included, has gone to the sink; a zlib
// error code when it is missing or damaged, when it holds more than
// `capacity` bytes (Z_BUF_ERROR), or when the sink stops (Z_ERRNO).
int InflateTextResourceInPieces(HMODULE module, WORD id, unsigned long capacity,
                                InflatedPieceSink sink, void *context);

// One "TEXT" resource of a module, as the resource directory lists it.
struct TextResourceName {
    WORD id;
    WORD language;
};

// Lists the module's "TEXT" resources with integer ids into names[capacity].
// Returns how many there are, which may exceed `capacity`.
int ListTextResources(HMODULE module, TextResourceName *names, int capacity);

#endif
