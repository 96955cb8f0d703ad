// Path composition with a bound: a path that would not fit its buffer is a
// failure, never a truncated path.
#ifndef MORIVANE_JOIN_PATH_H
#define MORIVANE_JOIN_PATH_H

#include <stddef.h>

// Joins folder and name with one backslash into out[outSize] (a folder
// that ends in one, a drive root, gives its own). Returns 1, or
// 0 with out emptied when the result would not fit.
int JoinInstallPath(char *out, size_t outSize, const char *folder, const char *name);

#endif
