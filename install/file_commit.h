// Files put in place whole, and the run's record of what they replaced: a
// new file is written under a working name beside its target and moved over
// it in one step; the file it replaces is kept under another working name
// until the run ends, so that a failed run can put everything back, and a
// run killed midway is put right by the next one.
#ifndef MORIVANE_FILE_COMMIT_H
#define MORIVANE_FILE_COMMIT_H

#include <windows.h>

#include <stddef.h>

#include "install/payload_table.h"

// The working names of a payload row are made from its resource id, not its
// installed name, so they add nothing to the longest path the installation
// writes: "~mv<id>.new" while its new content is written, "~mv<id>.old" for
// the earlier file while the run lasts, "~mv<id>.del" for an earlier file
// that could not be removed after a run that succeeded (a program still
// running, say). While "~mv.end" exists, the run has passed its point of no
// return: its kept files are to go, not to come back.
enum { WORK_NEW, WORK_KEPT, WORK_DISCARDED, WORK_KINDS };
enum { WORKING_NAME_LENGTH = sizeof "~mv65535.new" - 1 };
static_assert((int)WORKING_NAME_LENGTH <= (int)PAYLOAD_LONGEST_NAME,
              "a working name is no longer than the longest installed name");

// The working name of kind WORK_* for payload resource `id` in `folder`,
// into out[size]. 1, or 0 when it does not fit.
int WorkingFileName(char *out, size_t size, const char *folder, WORD id, int kind);

// The marker of a run past its point of no return, in `folder`. 1 or 0.
int CommitMarkerName(char *out, size_t size, const char *folder);

// Starts the run's record in `folder`, empty. First puts right what a run
// that was killed midway left under the payload rows' working names: before
// its point of no return everything comes back as it was, after it the kept
// files go. 1 when the folder holds no working file of a payload row that
// matters any more; 0 when one could not be put right, and then the run must
// not write (it would overwrite what it cannot bring back).
int BeginInstallRecord(const char *folder);

// Creates the working file for the new content of payload resource `id`
// exclusively (it must not exist), for writing; its name into
// staged[size]. 1 with *file open, else 0.
int CreateStagedFile(WORD id, char *staged, size_t size, HANDLE *file);

// Gives the flushed and closed `staged` the attributes asked for and puts it
// in the place of `target`. A file already under that name is kept under its
// working name, unless this run put it there. 1, else 0 with `staged` left
// for the caller to discard.
int CommitStagedFile(WORD id, const char *staged, const char *target, int readOnly, int hidden);

// Removes a working file, read-only or not. 1 when it is gone.
int DiscardStagedFile(const char *staged);

// A failed run: in reverse order, every replaced file back with its
// attributes, every added file removed, each step tried twice. 1 when all of
// it is undone; 0 when a step failed, its file left under its working name
// for the next run to put back (and kept in the record).
int RollBackInstallRecord(void);

// A run that succeeded: past the point of no return, the kept files go; one
// that cannot is renamed as discarded. 0 only when the point of no return
// could not be marked, nothing changed then: the run must be rolled back.
int FinishInstallRecord(void);

// Removes every working file of the payload rows from `folder`, and the
// marker: what an uninstaller removes besides the installed files.
void RemoveWorkingFiles(const char *folder);

#endif
