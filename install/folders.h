// The folders the installer makes, with permissions of their own rather than
// whatever the place they are made in would pass on: the install folder, and
// private folders under the temporary folder for files that are run or
// opened from there.
#ifndef MORIVANE_FOLDERS_H
#define MORIVANE_FOLDERS_H

#include <stddef.h>

// Creates `path` (one level, as CreateDirectoryA does) so that the running
// user, Administrators and SYSTEM may change it and every other account may
// only read and run its files. 1, or 0 with GetLastError telling why.
int CreateInstallFolder(const char *path);

// Creates a new folder in the temporary folder ("C:\" when there is none)
// under a fresh random name, open to the running user, Administrators and
// SYSTEM only; its path, without a trailing backslash, into out[size]. A name
// that exists already is never used: another is drawn. 1 or 0.
int CreatePrivateTempFolder(char *out, size_t size);

// Whether `path` names a folder as CreatePrivateTempFolder makes them: in the
// temporary folder, under a name of its form.
int IsPrivateTempFolder(const char *path);

#endif
