// MorivaneVerify: checks a built installer. Lists every "TEXT" resource with
// its language, compressed and inflated size, the capacity of the buffer that
// reads it, and for payload files the installed name and attributes; exits
// non-zero when a stream does not inflate, does not fit, or is missing.
// A Windows program: run it under Wine as  wine MorivaneVerify.exe FILE.exe
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#include "base/text_resource.h"
#include "install/payload_table.h"
#include "text_resources_table.h"

enum { LARGEST_INFLATE = 64 * 1024 * 1024 };

enum { MOST_RESOURCES = 256 };

static TextResourceName found[MOST_RESOURCES];
static int foundCount;

static const TextResourceRow *TableRow(WORD id)
{
    for (const TextResourceRow &row : kTextResources)
        if (row.id == id)
            return &row;
    return NULL;
}

// Checks one resource and prints its line. Returns 1 for a problem.
static int VerifyResource(HMODULE module, const TextResourceName &resource,
                          unsigned char *scratch, DWORD *compressedTotal)
{
    const unsigned char *bytes;
    DWORD size;
    FindTextResource(module, resource.id, &bytes, &size);
    *compressedTotal += size;
    unsigned long inflated = LARGEST_INFLATE;
    int result = UncompressResource(scratch, &inflated, bytes, size);
    const TextResourceRow *row = TableRow(resource.id);
    const PayloadEntry *payload = FindPayloadRow(resource.id);

    const char *status = "ok";
    if (result != Z_OK)
        status = "DOES NOT INFLATE";
    else if (row == NULL)
        status = "NOT IN THE TABLE";
    else if (inflated > row->capacity)
        status = "OVER CAPACITY";
    else if (resource.language != row->language)
        status = "WRONG LANGUAGE";

    printf("%5u  %04X  %9lu  %9lu  %9lu  %-22s %-3s %-3s %s\n", resource.id,
           resource.language, (unsigned long)size,
           result == Z_OK ? (unsigned long)inflated : 0UL, row ? row->capacity : 0UL,
           payload ? payload->fileName : (row ? row->file : "?"),
           payload ? (payload->attributes & PAYLOAD_READ_ONLY ? "RO" : "-") : "",
           payload ? (payload->attributes & PAYLOAD_HIDDEN ? "H" : "-") : "",
           status);
    return strcmp(status, "ok") != 0;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: MorivaneVerify INSTALLER.exe\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (module == NULL) {
        fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    foundCount = ListTextResources(module, found, MOST_RESOURCES);
    if (foundCount > MOST_RESOURCES) {
        fprintf(stderr, "%s: more than %d TEXT resources\n", argv[1], MOST_RESOURCES);
        return 2;
    }
    unsigned char *scratch = (unsigned char *)malloc(LARGEST_INFLATE);
    if (scratch == NULL)
        return 2;

    printf("   id  lang  compressed  inflated   capacity  installed as           attributes\n");
    int problems = 0;
    DWORD compressedTotal = 0;
    for (int i = 0; i < foundCount; ++i)
        problems += VerifyResource(module, found[i], scratch, &compressedTotal);
    for (const TextResourceRow &row : kTextResources) {
        int present = 0;
        for (int i = 0; i < foundCount; ++i)
            present |= found[i].id == row.id;
        if (!present) {
            printf("%5u  %04X  missing: %s\n", row.id, row.language, row.file);
            ++problems;
        }
    }
    free(scratch);
    FreeLibrary(module);

    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD total = file != INVALID_HANDLE_VALUE ? GetFileSize(file, NULL) : 0;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    printf("%d TEXT resources, %lu bytes compressed; installer %lu bytes, about %lu without them\n",
           foundCount, (unsigned long)compressedTotal, (unsigned long)total,
           (unsigned long)(total - compressedTotal));
    printf("%s: %d problem%s\n", problems ? "FAILED" : "verified", problems,
           problems == 1 ? "" : "s");
    return problems ? 1 : 0;
}
