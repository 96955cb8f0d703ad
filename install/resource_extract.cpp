// Writing "TEXT" resources out as installed files (see resource_extract.h).
#include "install/resource_extract.h"

#include <io.h>
#include <stdio.h>
#include <string.h>
#include <zlib.h>

#include "base/globals.h"
#include "base/join_path.h"
#include "base/text_resource.h"
#include "install/file_attributes.h"

int ExtractResourceToFile(WORD id, const char *name, unsigned char *buffer,
                          unsigned long capacity, int readOnly, int hidden,
                          const char *explicitPath)
{
    // A missing resource fails to inflate: no file is touched either way.
    unsigned long length = capacity;
    if (InflateTextResource(AppInstance, id, buffer, &length) != Z_OK)
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
    // The flush writes what still lies in the stream's buffer (all of a
    // small file): a full disk may show only there, and not every C library's
    // fclose reports it (Wine's does not).
    size_t written = fwrite(data, 1, length, file);
    int flushed = fflush(file) == 0;
    int closed = fclose(file) == 0;
    if (written != length || !flushed || !closed)
        return 0;

    if (readOnly || hidden)
        AddFileAttributes(path, readOnly, hidden);
    return 1;
}
