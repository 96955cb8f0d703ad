// Recording the interface language in the product's settings file (see
// settings_file.h). The file is GBK text with CR LF lines, read and written
// in text mode.
#include "install/settings_file.h"

#include <stdio.h>
#include <string.h>

#include "base/globals.h"
#include "base/join_path.h"
#include "install/file_attributes.h"

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

int WriteUiLanguage(void)
{
    char path[MAX_PATH];
    if (!JoinInstallPath(path, sizeof path, InstallDir, "MorivaneUI.ini"))
        return 1;
    ClearFileAttributes(path, 1, 1);
    FILE *file = fopen(path, "r+");
    if (file != NULL) {
        UpdateSettings(file, UiLanguage);
        fclose(file);
    }
    AddFileAttributes(path, 1, 1);
    return 1;
}
