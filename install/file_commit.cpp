// Files put in place whole, and the run's record (see file_commit.h).
#include "install/file_commit.h"

#include <stdlib.h>
#include <string.h>

#include "base/format.h"
#include "base/join_path.h"
#include "install/file_attributes.h"

static const char *const kWorkingSuffixes[WORK_KINDS] = {"new", "old", "del"};
static const char kCommitMarker[] = "~mv.end";

// One file this run has put in place: its resource, its path (on the heap:
// zeroed statics of this size would go into the file on this target), and
// whether an earlier file is kept under its working name.
struct CommitRecordRow {
    WORD id;
    char *target;
    int kept;
};

// Every row is put in place at most once a run (the settings edit replaces
// the run's own file), so the record holds the whole table.
enum { COMMIT_RECORD_ROWS = PAYLOAD_ROWS };

// The folder of the run and its rows, in order.
static char *RecordFolder;
static CommitRecordRow CommitRecord[COMMIT_RECORD_ROWS];
static int CommitRecordCount;

int WorkingFileName(char *out, size_t size, const char *folder, WORD id, int kind)
{
    char name[WORKING_NAME_LENGTH + 1];
    return FormatText(name, sizeof name, "~mv%u.%s", (unsigned)id, kWorkingSuffixes[kind]) &&
           JoinInstallPath(out, size, folder, name);
}

int CommitMarkerName(char *out, size_t size, const char *folder)
{
    return JoinInstallPath(out, size, folder, kCommitMarker);
}

static int Exists(const char *path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// After a failed look at a name: whether nothing is there, rather than
// something that could not be looked at.
static int NothingThere(void)
{
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Removes a file even when read-only. 1 when it is gone.
static int RemoveFile(const char *path)
{
    if (!Exists(path))
        return NothingThere();
    ClearFileAttributes(path, 1, 0);
    return DeleteFileA(path) ? 1 : 0;
}

int DiscardStagedFile(const char *staged) { return RemoveFile(staged); }

// Moves `from` onto `to`, which may exist (read-only too).
static int MoveOver(const char *from, const char *to)
{
    if (Exists(to))
        ClearFileAttributes(to, 1, 0);
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}

// An earlier file kept for resource `id` goes: deleted, or else renamed as
// discarded so that nothing ever puts it back. 1 when none is left kept.
static int DiscardKept(WORD id, const char *folder)
{
    char kept[MAX_PATH], discarded[MAX_PATH];
    if (!WorkingFileName(kept, sizeof kept, folder, id, WORK_KEPT) ||
        !WorkingFileName(discarded, sizeof discarded, folder, id, WORK_DISCARDED))
        return 0;
    return RemoveFile(kept) ||
           MoveFileExA(kept, discarded, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// An earlier file kept for resource `id` comes back as `target`, over
// whatever a run put there. 1 when none is left kept.
static int PutBackKept(WORD id, const char *folder, const char *target)
{
    char kept[MAX_PATH];
    if (!WorkingFileName(kept, sizeof kept, folder, id, WORK_KEPT))
        return 0;
    return Exists(kept) ? MoveOver(kept, target) : NothingThere();
}

// What a killed run left of `row`: its new content in the making goes, its
// earlier file comes back or goes as the marker says, a discarded one goes
// when it can (it is never put back, so one that stays is harmless).
static int RepairRow(const PayloadEntry &row, const char *folder, int committed)
{
    char path[MAX_PATH], target[MAX_PATH];
    int whole = WorkingFileName(path, sizeof path, folder, row.id, WORK_NEW) && RemoveFile(path);
    whole &= committed ? DiscardKept(row.id, folder)
                       : JoinInstallPath(target, sizeof target, folder, row.fileName) &&
                             PutBackKept(row.id, folder, target);
    if (WorkingFileName(path, sizeof path, folder, row.id, WORK_DISCARDED))
        RemoveFile(path);
    return whole;
}

static void EmptyRecord(void)
{
    for (int i = 0; i < CommitRecordCount; ++i)
        free(CommitRecord[i].target);
    CommitRecordCount = 0;
}

int BeginInstallRecord(const char *folder)
{
    EmptyRecord();
    free(RecordFolder);
    RecordFolder = _strdup(folder);
    char marker[MAX_PATH];
    if (RecordFolder == NULL || !CommitMarkerName(marker, sizeof marker, folder))
        return 0;
    int committed = Exists(marker);
    int whole = 1;
    for (const PayloadEntry &row : PayloadTable)
        whole &= RepairRow(row, folder, committed);
    // The marker goes last, and only once no kept file is left to misread.
    return whole && (!committed || RemoveFile(marker));
}

int CreateStagedFile(WORD id, char *staged, size_t size, HANDLE *file)
{
    *file = INVALID_HANDLE_VALUE;
    if (RecordFolder == NULL || !WorkingFileName(staged, size, RecordFolder, id, WORK_NEW))
        return 0;
    *file = CreateFileA(staged, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    return *file != INVALID_HANDLE_VALUE;
}

static CommitRecordRow *RecordedRow(WORD id)
{
    for (int i = 0; i < CommitRecordCount; ++i)
        if (CommitRecord[i].id == id)
            return &CommitRecord[i];
    return NULL;
}

// Moves an earlier file under `target` aside and records it. The
// earlier file is only ever renamed, never opened for writing, so a file
// linked under that name elsewhere stays as it was. A kept file already
// there is never replaced: it is the only copy of what it holds.
static int RecordTarget(WORD id, const char *target)
{
    DWORD attributes = GetFileAttributesA(target);
    if (CommitRecordCount == COMMIT_RECORD_ROWS ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) ||
        (attributes == INVALID_FILE_ATTRIBUTES && !NothingThere()))
        return 0;
    int kept = attributes != INVALID_FILE_ATTRIBUTES;
    char keptName[MAX_PATH];
    char *copy = _strdup(target);
    if (copy == NULL ||
        (kept && (!WorkingFileName(keptName, sizeof keptName, RecordFolder, id, WORK_KEPT) ||
                  !MoveFileExA(target, keptName, MOVEFILE_WRITE_THROUGH)))) {
        free(copy);
        return 0;
    }
    CommitRecord[CommitRecordCount++] = {id, copy, kept};
    return 1;
}

int CommitStagedFile(WORD id, const char *staged, const char *target, int readOnly, int hidden)
{
    if (RecordFolder == NULL)
        return 0;
    // The attributes go on before the move, so the file appears whole with them.
    if ((readOnly || hidden) && !AddFileAttributes(staged, readOnly, hidden))
        return 0;
    if (RecordedRow(id) != NULL)
        return MoveOver(staged, target);  // this run's own file: nothing to keep
    return RecordTarget(id, target) && MoveFileExA(staged, target, MOVEFILE_WRITE_THROUGH);
}

// Undoes one row: its earlier file back, or the file it added gone.
static int UndoRow(const CommitRecordRow &entry)
{
    return entry.kept ? PutBackKept(entry.id, RecordFolder, entry.target)
                      : RemoveFile(entry.target);
}

int RollBackInstallRecord(void)
{
    int left = 0;
    for (int i = CommitRecordCount - 1; i >= 0; --i) {
        CommitRecordRow &entry = CommitRecord[i];
        // A scanner may hold the new file for a moment: one more try.
        if (UndoRow(entry) || UndoRow(entry)) {
            free(entry.target);
            entry.target = NULL;
        }
    }
    // What could not be undone stays recorded, in order.
    for (int i = 0; i < CommitRecordCount; ++i)
        if (CommitRecord[i].target != NULL)
            CommitRecord[left++] = CommitRecord[i];
    CommitRecordCount = left;
    return left == 0;
}

int FinishInstallRecord(void)
{
    int kept = 0;
    for (int i = 0; i < CommitRecordCount; ++i)
        kept |= CommitRecord[i].kept;
    char marker[MAX_PATH];
    if (kept) {
        // Written through, so that a run killed from here on is completed,
        // not undone: a mix of earlier and new files is never left.
        HANDLE file;
        if (!CommitMarkerName(marker, sizeof marker, RecordFolder) ||
            (file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, NULL)) ==
                INVALID_HANDLE_VALUE)
            return 0;
        CloseHandle(file);
        int whole = 1;
        for (int i = 0; i < CommitRecordCount; ++i)
            if (CommitRecord[i].kept)
                whole &= DiscardKept(CommitRecord[i].id, RecordFolder);
        // Left in place, it tells the next run to finish discarding.
        if (whole)
            RemoveFile(marker);
    }
    EmptyRecord();
    return 1;
}

void RemoveWorkingFiles(const char *folder)
{
    char path[MAX_PATH];
    for (const PayloadEntry &row : PayloadTable)
        for (int kind = 0; kind < WORK_KINDS; ++kind)
            if (WorkingFileName(path, sizeof path, folder, row.id, kind))
                RemoveFile(path);
    if (CommitMarkerName(path, sizeof path, folder))
        RemoveFile(path);
}
