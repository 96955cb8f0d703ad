// Recording the interface language in the product's settings file (see
// settings_file.h). The file is GBK text with CR LF lines. It is read whole
// and edited in memory as a text-mode reader of SETTINGS_LINE_BUFFER bytes
// sees it: CR LF reads as one line end, a line longer than the buffer
// arrives in pieces and each piece counts as a line, and Ctrl-Z ends the
// text. The edited copy is written under the row's working name, then takes
// the file's place whole.
#include "install/settings_file.h"

#include <stdlib.h>
#include <string.h>

#include "base/format.h"
#include "base/join_path.h"
#include "install/file_commit.h"
#include "install/install_state.h"
#include "install/payload_table.h"
#include "resources/resource_ids.h"

// What an edit can add: a key line longer than the old one, or the section.
enum { SETTINGS_GROWTH = 64 };

// The appended section: CR LF, [section], CR LF, key=value (at most 11
// digits), CR LF CR LF, and the NUL the formatter writes.
static_assert(__builtin_strlen(kSettingsEdit.section) + __builtin_strlen(kSettingsEdit.key) + 23 <=
                  SETTINGS_GROWTH,
              "the appended section fits the room an edit has");

// Reads one piece from text[*at] up to `end`, as a text-mode line reader
// would (CR LF as "\n", at most SETTINGS_LINE_BUFFER - 1 characters, ending
// after a line end), into piece[SETTINGS_LINE_BUFFER]; its length.
static size_t ReadPiece(const char *text, size_t end, size_t *at, char *piece)
{
    size_t length = 0;
    while (*at < end && length < SETTINGS_LINE_BUFFER - 1) {
        char c = text[(*at)++];
        if (c == '\r' && *at < end && text[*at] == '\n')
            c = text[(*at)++];
        piece[length++] = c;
        if (c == '\n')
            break;
    }
    piece[length] = '\0';
    return length;
}

// Characters from a piece of `length` to the end of its line, without the
// line end; `at` is just past the piece.
static size_t LineLength(const char *text, size_t end, size_t at, const char *piece, size_t length)
{
    char rest[SETTINGS_LINE_BUFFER];
    int ended = length > 0 && piece[length - 1] == '\n';
    while (!ended && at < end) {
        size_t more = ReadPiece(text, end, &at, rest);
        length += more;
        ended = rest[more - 1] == '\n';
    }
    return ended ? length - 1 : length;
}

// Edits text[size] into out (room for size + SETTINGS_GROWTH bytes): the
// first piece holding "key=" is rewritten from its start with the key line,
// the rest of its old line blanked so that a longer old value cannot leave
// digits behind; without one, the section is appended. The new size.
static size_t EditSettings(const char *text, size_t size, int value, char *out)
{
    const char *stop = (const char *)memchr(text, 0x1A, size);
    size_t end = stop != NULL ? (size_t)(stop - text) : size;
    char piece[SETTINGS_LINE_BUFFER], line[SETTINGS_GROWTH], key[SETTINGS_GROWTH];
    FormatText(key, sizeof key, "%s=", kSettingsEdit.key);
    for (size_t at = 0; at < end;) {
        size_t start = at, length = ReadPiece(text, end, &at, piece);
        if (strstr(piece, key) == NULL)
            continue;
        size_t oldLength = LineLength(text, end, at, piece, length);
        FormatText(line, sizeof line, "%s%d", key, value);
        size_t written = strlen(line);
        size_t rewritten = written > oldLength ? written : oldLength;
        size_t replaced = rewritten < size - start ? rewritten : size - start;
        memcpy(out, text, start);
        memset(out + start, ' ', rewritten);
        memcpy(out + start, line, written);
        memcpy(out + start + rewritten, text + start + replaced, size - start - replaced);
        return start + rewritten + (size - start - replaced);
    }
    memcpy(out, text, size);
    FormatText(out + size, SETTINGS_GROWTH, "\r\n[%s]\r\n%s%d\r\n\r\n", kSettingsEdit.section, key,
               value);
    return size + strlen(out + size);
}

// The whole file at `path` into a new buffer with room for the edit; its
// size into *size. 1, 0 when it could not be read, -1 when there is none.
static int ReadSettings(const char *path, char **text, DWORD *size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? -1 : 0;
    DWORD read = 0;
    *size = GetFileSize(file, NULL);
    *text = *size <= PAYLOAD_BUFFER_SIZE ? (char *)malloc(*size + 1) : NULL;
    int whole = *text != NULL && ReadFile(file, *text, *size, &read, NULL) && read == *size;
    CloseHandle(file);
    return whole;
}

// Writes text[size] as the row's new content and puts it in place of `path`.
static int ReplaceSettings(const PayloadEntry &row, const char *path, const char *text, DWORD size)
{
    char staged[MAX_PATH];
    HANDLE file;
    if (!CreateStagedFile(row.id, staged, sizeof staged, &file))
        return 0;
    DWORD written = 0;
    int whole = WriteFile(file, text, size, &written, NULL) && written == size;
    whole &= FlushFileBuffers(file) != 0;
    whole &= CloseHandle(file) != 0;
    if (whole && CommitStagedFile(row.id, staged, path, row.attributes & PAYLOAD_READ_ONLY,
                                  row.attributes & PAYLOAD_HIDDEN))
        return 1;
    DiscardStagedFile(staged);
    return 0;
}

int WriteUiLanguage(void)
{
    // The settings file is its payload row's file, and keeps that row's
    // name and attributes.
    const PayloadEntry *row = FindPayloadRow(kSettingsEdit.file);
    char path[MAX_PATH];
    if (row == NULL || !JoinInstallPath(path, sizeof path, InstallDir, row->fileName))
        return 1;
    char *text = NULL, *edited = NULL;
    DWORD size = 0;
    int read = ReadSettings(path, &text, &size);
    if (read < 0)
        return 1;
    int written = read > 0 && (edited = (char *)malloc(size + SETTINGS_GROWTH)) != NULL &&
                  ReplaceSettings(*row, path, edited,
                                  (DWORD)EditSettings(text, size, UiLanguage, edited));
    free(text);
    free(edited);
    return written;
}
