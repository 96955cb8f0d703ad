// Writing the installer's "TEXT" resources out as installed files, with their
// read-only and hidden attributes. Nothing here shows a message; callers
// decide what a failure means.
#ifndef MORIVANE_RESOURCE_EXTRACT_H
#define MORIVANE_RESOURCE_EXTRACT_H

#include <windows.h>

// Inflates resource `id` of AppInstance in pieces straight into a file: with
// `explicitPath`, into that new file (it must not exist); else, for a payload
// row's resource, into its working file in InstallDir, flushed and then put
// in place of InstallDir\name (see file_commit.h). A stream of more than `capacity` bytes fails. Returns
// 1 only when every byte reached the file, else 0 with no new file left.
int ExtractResourceToFile(WORD id, const char *name, unsigned long capacity, int readOnly,
                          int hidden, const char *explicitPath);

#endif
