// Reading "TEXT" resources (see text_resource.h).
#include "base/text_resource.h"

#include <zlib.h>

int FindTextResource(HMODULE module, WORD id, const unsigned char **bytes, DWORD *size)
{
    *bytes = NULL;
    *size = 0;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "TEXT");
    if (found == NULL)
        return 0;
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == NULL)
        return 0;
    *bytes = static_cast<const unsigned char *>(LockResource(loaded));
    *size = *bytes ? SizeofResource(module, found) : 0;
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

int InflateTextResource(HMODULE module, WORD id, unsigned char *buffer, unsigned long *length)
{
    const unsigned char *bytes;
    DWORD size;
    FindTextResource(module, id, &bytes, &size);
    return UncompressResource(buffer, length, bytes, size);
}

struct NameList {
    TextResourceName *names;
    int capacity;
    int count;
};

static BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR name, WORD language, LONG_PTR list)
{
    NameList *found = reinterpret_cast<NameList *>(list);
    if (found->count < found->capacity) {
        found->names[found->count].id = LOWORD(name);
        found->names[found->count].language = language;
    }
    ++found->count;
    return TRUE;
}

static BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list)
{
    if (IS_INTRESOURCE(name))
        EnumResourceLanguagesA(module, type, name, AddLanguage, list);
    return TRUE;
}

int ListTextResources(HMODULE module, TextResourceName *names, int capacity)
{
    NameList list = {names, capacity, 0};
    EnumResourceNamesA(module, "TEXT", AddName, reinterpret_cast<LONG_PTR>(&list));
    return list.count;
}
