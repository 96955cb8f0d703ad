// Reading the installer's "TEXT" resources: each is one zlib stream, inflated
// into a buffer the caller owns and optionally written out as a file.
// Nothing here shows a message; callers decide what a failure means.
#ifndef MORIVANE_RESOURCE_EXTRACT_H
#define MORIVANE_RESOURCE_EXTRACT_H

#include <windows.h>

// Finds "TEXT" resource `id` in AppInstance. Returns 1 with its bytes, or 0
// with *bytes null and *size 0 when there is no such resource.
int FindTextResource(WORD id, const unsigned char **bytes, DWORD *size);

// zlib's one-call uncompress: *length is the capacity on entry and the count
// produced on success. Returns Z_OK (0) or a zlib error code.
int UncompressResource(unsigned char *dest, unsigned long *length,
                       const unsigned char *source, unsigned long sourceLength);

// Inflates resource `id` into `buffer` and writes it with WriteBufferToFile.
// Returns 1 when the file was written completely, else 0.
int ExtractResourceToFile(WORD id, const char *name, unsigned char *buffer,
                          unsigned long capacity, int readOnly, int hidden,
                          const char *explicitPath);

// Writes `data` to `explicitPath`, or to InstallDir\name when that is null,
// then adds the read-only and hidden attributes asked for. Returns 1 or 0.
int WriteBufferToFile(const char *name, const unsigned char *data,
                      unsigned long length, int readOnly, int hidden,
                      const char *explicitPath);

// Joins folder and name with one backslash into out[outSize]. Returns 1, or
// 0 with out emptied when the result would not fit.
int JoinInstallPath(char *out, size_t outSize, const char *folder, const char *name);

#endif
