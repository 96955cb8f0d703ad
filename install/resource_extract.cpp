// Writing "TEXT" resources out as installed files (see resource_extract.h).
#include "install/resource_extract.h"

#include <string.h>
#include <zlib.h>

#include "base/globals.h"
#include "install/install_state.h"
#include "base/join_path.h"
#include "base/text_resource.h"
#include "install/file_attributes.h"
#include "install/file_commit.h"

static int WritePiece(void *file, const unsigned char *piece, unsigned long length)
{
    DWORD written = 0;
    return WriteFile((HANDLE)file, piece, length, &written, NULL) && written == length;
}

// Inflates into the open `file` and closes it; `flush` first puts its bytes
// on the disk. 1 when all of it got there.
static int InflateIntoFile(WORD id, unsigned long capacity, HANDLE file, int flush)
{
    int inflated = InflateTextResourceInPieces(AppInstance, id, capacity, WritePiece, file) == Z_OK;
    int flushed = !flush || FlushFileBuffers(file);
    int closed = CloseHandle(file) != 0;
    return inflated && flushed && closed;
}

// The package's file is new in a folder of this run's own: nothing to keep,
// and no flush, which would cost more than the whole copy.
static int ExtractToNewFile(WORD id, unsigned long capacity, int readOnly, int hidden,
                            const char *path)
{
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    if (!InflateIntoFile(id, capacity, file, 0)) {
        DeleteFileA(path);
        return 0;
    }
    if (readOnly || hidden)
        AddFileAttributes(path, readOnly, hidden);
    return 1;
}

int ExtractResourceToFile(WORD id, const char *name, unsigned long capacity, int readOnly,
                          int hidden, const char *explicitPath)
{
    // A missing resource touches no file.
    const unsigned char *bytes;
    DWORD size;
    if (!FindTextResource(AppInstance, id, &bytes, &size))
        return 0;
    // A path that does not fit is refused before any file is touched.
    if (explicitPath != NULL)
        return strlen(explicitPath) < MAX_PATH &&
               ExtractToNewFile(id, capacity, readOnly, hidden, explicitPath);
    char target[MAX_PATH], staged[MAX_PATH];
    HANDLE file;
    if (!JoinInstallPath(target, sizeof target, InstallDir, name) ||
        !CreateStagedFile(id, staged, sizeof staged, &file))
        return 0;
    if (InflateIntoFile(id, capacity, file, 1) &&
        CommitStagedFile(id, staged, target, readOnly, hidden))
        return 1;
    DiscardStagedFile(staged);
    return 0;
}
