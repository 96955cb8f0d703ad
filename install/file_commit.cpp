// Files put in place whole, and the run's record (see file_commit.h).
#include "install/file_commit.h"

#include <stdlib.h>
#include <string.h>

#include "base/format.h"
#include "install/file_attributes.h"

// One target of this run (its path on the heap: zeroed statics of this size
// would go into the file on this target) and whether an earlier file is kept
// beside it.
struct CommitRecordRow {
    char *target;
    int kept;
};

// The targets this run has put in place, in order.
static CommitRecordRow CommitRecord[COMMIT_RECORD_ROWS];
static int CommitRecordCount;

static void EmptyRecord(void)
{
    for (int i = 0; i < CommitRecordCount; ++i)
        free(CommitRecord[i].target);
    CommitRecordCount = 0;
}

static int WithSuffix(char *out, size_t size, const char *path, const char *suffix)
{
    return FormatText(out, size, "%s%s", path, suffix);
}

static int EndsWith(const char *name, const char *suffix)
{
    size_t length = strlen(name), suffixLength = strlen(suffix);
    return length > suffixLength && _stricmp(name + length - suffixLength, suffix) == 0;
}

// Removes a file even when read-only.
static int RemoveFile(const char *path)
{
    ClearFileAttributes(path, 1, 0);
    return DeleteFileA(path) ? 1 : 0;
}

// Moves `from` onto `to`, which may exist (read-only too).
static int MoveOver(const char *from, const char *to)
{
    if (GetFileAttributesA(to) != INVALID_FILE_ATTRIBUTES)
        ClearFileAttributes(to, 1, 0);
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}

// A killed run is undone as a failed one would have been: the earlier file
// comes back over whatever the run put there.
static void RecoverLeftover(const char *folder, const char *name)
{
    char path[MAX_PATH], target[MAX_PATH];
    if (!FormatText(path, sizeof path, "%s\\%s", folder, name))
        return;
    if (EndsWith(name, STAGED_SUFFIX) || EndsWith(name, DISCARDED_SUFFIX)) {
        RemoveFile(path);
    } else if (EndsWith(name, KEPT_SUFFIX)) {
        size_t length = strlen(path) - (sizeof KEPT_SUFFIX - 1);
        memcpy(target, path, length);
        target[length] = '\0';
        MoveOver(path, target);
    }
}

void BeginInstallRecord(const char *folder)
{
    EmptyRecord();
    char pattern[MAX_PATH];
    WIN32_FIND_DATAA found;
    if (!FormatText(pattern, sizeof pattern, "%s\\*", folder))
        return;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            RecoverLeftover(folder, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

int StagedFileName(const char *target, char *staged, size_t size)
{
    return WithSuffix(staged, size, target, STAGED_SUFFIX);
}

int CreateStagedFile(const char *target, char *staged, size_t size, HANDLE *file)
{
    *file = INVALID_HANDLE_VALUE;
    if (!StagedFileName(target, staged, size))
        return 0;
    *file = CreateFileA(staged, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    return *file != INVALID_HANDLE_VALUE;
}

static CommitRecordRow *RecordedRow(const char *target)
{
    for (int i = 0; i < CommitRecordCount; ++i)
        if (_stricmp(CommitRecord[i].target, target) == 0)
            return &CommitRecord[i];
    return NULL;
}

// Moves an earlier file under `target` aside and records the target. The
// earlier file is only ever renamed, never opened for writing, so a file
// linked under that name elsewhere stays as it was.
static int RecordTarget(const char *target)
{
    DWORD attributes = GetFileAttributesA(target);
    if (CommitRecordCount == COMMIT_RECORD_ROWS ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)))
        return 0;
    CommitRecordRow *row = &CommitRecord[CommitRecordCount];
    row->kept = attributes != INVALID_FILE_ATTRIBUTES;
    char kept[MAX_PATH];
    if (row->kept && (!WithSuffix(kept, sizeof kept, target, KEPT_SUFFIX) ||
                      !MoveFileExA(target, kept, MOVEFILE_WRITE_THROUGH)))
        return 0;
    row->target = _strdup(target);
    if (row->target == NULL) {
        if (row->kept)
            MoveFileExA(kept, target, 0);
        return 0;
    }
    ++CommitRecordCount;
    return 1;
}

int CommitStagedFile(const char *staged, const char *target, int readOnly, int hidden)
{
    if (RecordedRow(target) != NULL) {
        // This run's own file: nothing of the user's to keep.
        if (!MoveOver(staged, target))
            return 0;
    } else if (!RecordTarget(target) ||
               !MoveFileExA(staged, target, MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    if (readOnly || hidden)
        AddFileAttributes(target, readOnly, hidden);
    return 1;
}

void RollBackInstallRecord(void)
{
    for (int i = CommitRecordCount - 1; i >= 0; --i) {
        const CommitRecordRow &row = CommitRecord[i];
        char kept[MAX_PATH];
        if (!row.kept)
            RemoveFile(row.target);
        else if (WithSuffix(kept, sizeof kept, row.target, KEPT_SUFFIX))
            MoveOver(kept, row.target);
    }
    EmptyRecord();
}

void FinishInstallRecord(void)
{
    for (int i = 0; i < CommitRecordCount; ++i) {
        const CommitRecordRow &row = CommitRecord[i];
        char kept[MAX_PATH], discarded[MAX_PATH];
        // Left under its kept name, the next run would take it for the
        // leftover of a killed run and put it back.
        if (row.kept && WithSuffix(kept, sizeof kept, row.target, KEPT_SUFFIX) &&
            !RemoveFile(kept) &&
            WithSuffix(discarded, sizeof discarded, row.target, DISCARDED_SUFFIX))
            MoveFileExA(kept, discarded, MOVEFILE_REPLACE_EXISTING);
    }
    EmptyRecord();
}
