// Writing the installer's "TEXT" resources out as installed files, with their
// read-only and hidden attributes. Nothing here shows a message; callers
// decide what a failure means.
#ifndef MORIVANE_RESOURCE_EXTRACT_H
#define MORIVANE_RESOURCE_EXTRACT_H

#include <windows.h>

// Inflates resource `id` of AppInstance into `buffer` and writes it with
// WriteBufferToFile. Returns 1 when the file was written completely, else 0.
int ExtractResourceToFile(WORD id, const char *name, unsigned char *buffer,
                          unsigned long capacity, int readOnly, int hidden,
                          const char *explicitPath);

// Writes `data` to `explicitPath`, or to InstallDir\name when that is null,
// then adds the read-only and hidden attributes asked for. Returns 1 only
// when every byte reached the file (written, flushed and closed), else 0.
int WriteBufferToFile(const char *name, const unsigned char *data,
                      unsigned long length, int readOnly, int hidden,
                      const char *explicitPath);

#endif
