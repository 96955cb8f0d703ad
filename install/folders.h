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

// What an existing folder is, before anything is installed into it.
enum {
    FOLDER_ABSENT,          // no folder of that name: it is to be made
    FOLDER_SAFE,            // only the user, Administrators, SYSTEM or
                            // TrustedInstaller own it or may change it
    FOLDER_REPARSE_POINT,   // a junction, link or mount point: refused
    FOLDER_OPEN_TO_OTHERS   // another account owns it or may change what is
                            // in it (or it cannot be read): the user is asked
};
int InspectExistingFolder(const char *path);

// Whether the owner of `descriptor` is an account other than the user (SID
// as text), Administrators, SYSTEM and TrustedInstaller, or its DACL lets
// such an account write, add, delete, change permissions or take ownership
// of the folder itself. 1 or 0; 0 on systems without these functions.
int OthersMayChangeFolder(void *descriptor, const char *userSid);

#endif
