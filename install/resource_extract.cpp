// Reading "TEXT" resources into caller-owned buffers and writing them out as
// installed files (see resource_extract.h).
#include "install/resource_extract.h"

#include <io.h>
#include <stdio.h>
#include <string.h>
#include <zlib.h>

#include "app/globals.h"
#include "install/file_attributes.h"

int FindTextResource(WORD id, const unsigned char **bytes, DWORD *size)
{
    *bytes = NULL;
    *size = 0;
    HRSRC found = FindResourceA(AppInstance, MAKEINTRESOURCEA(id), "TEXT");
    if (found == NULL)
        return 0;
    HGLOBAL loaded = LoadResource(AppInstance, found);
    if (loaded == NULL)
        return 0;
    *bytes = static_cast<const unsigned char *>(LockResource(loaded));
    *size = *bytes ? SizeofResource(AppInstance, found) : 0;
    return *bytes != NULL;
}

int UncompressResource(unsigned char *dest, unsigned long *length,
                       const unsigned char *source, unsigned long sourceLength)
{
    uLongf produced = *length;
    int result = uncompress(dest, &produced, source, sourceLength);
    *length = produced;
    return result;
}

int ExtractResourceToFile(WORD id, const char *name, unsigned char *buffer,
                          unsigned long capacity, int readOnly, int hidden,
                          const char *explicitPath)
{
    const unsigned char *bytes;
    DWORD size;
    if (!FindTextResource(id, &bytes, &size))
        return 0;
    unsigned long length = capacity;
    if (UncompressResource(buffer, &length, bytes, size) != Z_OK)
        return 0;
    return WriteBufferToFile(name, buffer, length, readOnly, hidden, explicitPath);
}

int WriteBufferToFile(const char *name, const unsigned char *data,
                      unsigned long length, int readOnly, int hidden,
                      const char *explicitPath)
{
    char path[MAX_PATH];
    if (explicitPath != NULL) {
        // A path that does not fit is refused before any file is touched.
        if (strlen(explicitPath) >= sizeof path)
            return 0;
        strcpy(path, explicitPath);
    } else if (!JoinInstallPath(path, sizeof path, InstallDir, name)) {
        return 0;
    }

    if (_access(path, 0) == 0)
        ClearFileAttributes(path, 1, 1);

    FILE *file = fopen(path, "wb");
    if (file == NULL)
        return 0;
    size_t written = fwrite(data, 1, length, file);
    fclose(file);
    if (written != length)
        return 0;

    if (readOnly || hidden)
        AddFileAttributes(path, readOnly, hidden);
    return 1;
}
