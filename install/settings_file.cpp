// Recording the interface language in the product's settings file (see
// settings_file.h). The file is GBK text with CR LF lines, read and written
// in text mode.
#include "install/settings_file.h"

#include <io.h>
#include <stdio.h>
#include <string.h>

#include "base/globals.h"
#include "install/install_state.h"
#include "base/join_path.h"
#include "install/file_attributes.h"
#include "install/file_commit.h"
#include "install/payload_table.h"
#include "resources/resource_ids.h"

static const char kKey[] = "UILanguage=";

// Length of the line that starts at `start` (without its line end), given
// its first piece: a line longer than the buffer arrives in several pieces.
static long LineLength(FILE *file, const char *firstPiece)
{
    long length = (long)strlen(firstPiece);
    int ended = length > 0 && firstPiece[length - 1] == '\n';
    char piece[SETTINGS_LINE_BUFFER];
    while (!ended && fgets(piece, sizeof piece, file) != NULL) {
        size_t size = strlen(piece);
        length += (long)size;
        ended = size > 0 && piece[size - 1] == '\n';
    }
    return ended ? length - 1 : length;
}

// Puts the key line with `value` at `start`, blanking the rest of the old
// line so that a longer old value cannot leave digits behind.
static void OverwriteKeyLine(FILE *file, long start, long oldLength, int value)
{
    fseek(file, start, SEEK_SET);
    int written = fprintf(file, "UILanguage=%d", value);
    for (long i = written; i < oldLength; ++i)
        fputc(' ', file);
}

static void UpdateSettings(FILE *file, int value)
{
    char line[SETTINGS_LINE_BUFFER];
    for (;;) {
        long start = ftell(file);
        line[0] = '\0';
        if (fgets(line, sizeof line, file) == NULL) {
            // Only the end of the file appends the section; a read error
            // leaves the file as it is.
            if (feof(file)) {
                fseek(file, 0, SEEK_END);
                fprintf(file, "\n[Config]\nUILanguage=%d\n\n", value);
            }
            return;
        }
        if (strstr(line, kKey) != NULL) {
            OverwriteKeyLine(file, start, LineLength(file, line), value);
            return;
        }
    }
}

// The edit is made on a copy under the private name, which then takes the
// file's place whole: a failure on the way leaves the file as it was.
static int EditCopy(const char *staged, int value)
{
    ClearFileAttributes(staged, 1, 1);
    FILE *file = fopen(staged, "r+");
    if (file == NULL)
        return 0;
    UpdateSettings(file, value);
    int written = !ferror(file) && fflush(file) == 0 && _commit(_fileno(file)) == 0;
    return fclose(file) == 0 && written;
}

int WriteUiLanguage(void)
{
    // The settings file is its payload row's file, and keeps that row's
    // name and attributes.
    const PayloadEntry *row = FindPayloadRow(IDR_SETTINGS_INI);
    char path[MAX_PATH], staged[MAX_PATH];
    if (row == NULL || !JoinInstallPath(path, sizeof path, InstallDir, row->fileName) ||
        GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (!StagedFileName(path, staged, sizeof staged) || !CopyFileA(path, staged, TRUE))
        return 0;
    if (EditCopy(staged, UiLanguage) &&
        CommitStagedFile(staged, path, row->attributes & PAYLOAD_READ_ONLY,
                         row->attributes & PAYLOAD_HIDDEN))
        return 1;
    ClearFileAttributes(staged, 1, 0);
    DeleteFileA(staged);
    return 0;
}
