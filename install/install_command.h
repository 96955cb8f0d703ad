// The Agree/Install command: makes sure the typed folder exists, then, with
// the choices the wizard read, runs the installation for at least the
// minimum time, reports the outcome and offers the speech runtime. It reads
// no control: the wizard hands in what the user chose and ends itself.
#ifndef MORIVANE_INSTALL_COMMAND_H
#define MORIVANE_INSTALL_COMMAND_H

#include <windows.h>

#include "install/payload_table.h"

enum { MINIMUM_RUN_SECONDS = 5 };

// The typed folder as one full name, into out[size]: a drive alone ("C:")
// is its root, and no name but a root's ends in a backslash. 1, or 0 when
// there is none or it does not fit (never truncated).
int ResolveInstallFolder(const char *typed, char *out, size_t size);

// The user's choices besides the folder, read once the folder is entered.
struct InstallChoices {
    int options[OPTION_COUNT];  // by OPTION_ value, 1 when chosen
    int uiLanguage;             // a LANGUAGE_ value
};

// What became of the typed folder: entered as it was, made for this run
// (the two a run may follow), refused and reported, or declined by the user.
enum {
    INSTALL_FOLDER_ENTERED,
    INSTALL_FOLDER_CREATED,
    INSTALL_FOLDER_NOT_READY,
    INSTALL_FOLDER_DECLINED
};

// Makes the `typed` folder a full name in InstallDir, then enters or creates
// it, asking about or reporting a folder it cannot use, with `owner` as the
// owner of its messages. An INSTALL_FOLDER_ value.
int EnterInstallFolder(const char *typed, HWND owner);

// Installs into the entered folder (`folder`, an INSTALL_FOLDER_ value) with
// `choices`, showing progress on owner's bar and the outcome in messages
// owned by it. 1 when installed, else 0.
int InstallCommand(const InstallChoices &choices, int folder, HWND owner);

#endif
