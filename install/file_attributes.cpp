// Read-only and hidden attributes of installed files (see file_attributes.h).
#include "install/file_attributes.h"

#include <windows.h>

int ClearFileAttributes(const char *path, int clearReadOnly, int clearHidden)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD mask = (clearReadOnly ? FILE_ATTRIBUTE_READONLY : 0) |
                 (clearHidden ? FILE_ATTRIBUTE_HIDDEN : 0);
    if ((attributes & mask) == 0)
        return 0;
    attributes &= ~mask;
    // A file left with no attribute at all must say so explicitly.
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;
    SetFileAttributesA(path, attributes);
    return 1;
}

int AddFileAttributes(const char *path, int readOnly, int hidden)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    attributes &= ~FILE_ATTRIBUTE_NORMAL;
    // Hidden goes on while the file is still writable: Wine keeps it in an
    // extended attribute that an unprivileged owner cannot change on a file
    // that is already read-only. Windows takes the two steps alike.
    if (hidden) {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
        if (!SetFileAttributesA(path, attributes))
            return 0;
    }
    if (readOnly)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(path, attributes) ? 1 : 0;
}
