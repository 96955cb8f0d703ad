// Read-only and hidden attributes of installed files: cleared before a file
// is rewritten, set again afterwards.
#ifndef MORIVANE_FILE_ATTRIBUTES_H
#define MORIVANE_FILE_ATTRIBUTES_H

// Removes FILE_ATTRIBUTE_READONLY and/or FILE_ATTRIBUTE_HIDDEN as asked,
// keeping every other bit. Returns 1 if it removed something, else 0.
int ClearFileAttributes(const char *path, int clearReadOnly, int clearHidden);

// Adds the read-only and/or hidden attributes as asked, keeping every other
// bit. Returns 1 when the attributes were written, else 0.
int AddFileAttributes(const char *path, int readOnly, int hidden);

#endif
