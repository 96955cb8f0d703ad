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

// What the folders on the way to an install folder are.
enum {
    FOLDER_ABSENT,          // a folder on the way is missing or no folder,
                            // or the install folder when it should exist
    FOLDER_SAFE,            // only the user, Administrators, SYSTEM or
                            // TrustedInstaller own them or may change them
    FOLDER_REPARSE_POINT,   // one is a junction, link or mount point: refused
    FOLDER_OPEN_TO_OTHERS   // another account may move one, or owns or may
                            // change the install folder or the files made in
                            // it (or one cannot be read): the user is asked
};

// Judges each folder of the full path `path` from its root down, each
// opened as itself; the install folder itself only when `folderExists`, as
// one the run did not make. A FOLDER_ value.
int InspectInstallPath(const char *path, int folderExists);

// How a folder is judged: on the way to the install folder, as the drive
// root it starts from, or as the install folder.
enum { JUDGED_ON_THE_WAY, JUDGED_DRIVE_ROOT, JUDGED_INSTALL_FOLDER };

// Whether another account than the user (SID as text), Administrators,
// SYSTEM and TrustedInstaller could rename, delete or replace a folder, or
// change what is in it: owns it, or is allowed to delete it (not a drive
// root) or what is in it, change its permissions or take it; as the install
// folder (JUDGED_ role) also to write or add in it, now or in the files the
// run makes there. 1 or 0; 0 on systems without these functions.
int OthersMayChangeFolder(void *descriptor, int role, const char *userSid);

#endif
