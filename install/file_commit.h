// Files put in place whole, and the run's record of what they replaced: a
// new file is written under a private name beside its target and moved over
// it in one step; the file it replaces is kept under another private name
// until the run ends, so that a failed run can put everything back.
#ifndef MORIVANE_FILE_COMMIT_H
#define MORIVANE_FILE_COMMIT_H

#include <windows.h>

#include <stddef.h>

// The private names beside a target: its new content while written, its
// earlier file while the run lasts, and an earlier file that could not be
// removed after a run that succeeded (a program still running, say).
#define STAGED_SUFFIX ".morivane-new"
#define KEPT_SUFFIX ".morivane-old"
#define DISCARDED_SUFFIX ".morivane-del"

enum { COMMIT_RECORD_ROWS = 32 };

// Starts the run's record, empty. First, in `folder`, puts right what a run
// that was killed midway left under the private names: a new file in the
// making goes, an earlier file comes back in place of its target, a
// discarded one goes.
void BeginInstallRecord(const char *folder);

// The private name of `target`'s new content, into staged[size]. 1 or 0.
int StagedFileName(const char *target, char *staged, size_t size);

// Creates the private file beside `target` exclusively (it must not exist),
// for writing; its name into staged[size]. 1 with *file open, else 0.
int CreateStagedFile(const char *target, char *staged, size_t size, HANDLE *file);

// Puts the flushed and closed `staged` in the place of `target` and gives
// it the attributes asked for. A file already under that name is kept
// beside it, unless this run put it there. 1, else 0 with `staged` left for
// the caller to delete.
int CommitStagedFile(const char *staged, const char *target, int readOnly, int hidden);

// A failed run: in reverse order, every replaced file back with its
// attributes, every added file removed. The record is then empty.
void RollBackInstallRecord(void);

// A run that succeeded: the kept files go; one that cannot is renamed as
// discarded, for a later run to remove. The record is then empty.
void FinishInstallRecord(void);

#endif
