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

// Each piece is bounded by what the capacity leaves, so a stream one byte
// longer stops with no room (Z_BUF_ERROR) before that byte is handed on.
int InflateTextResourceInPieces(HMODULE module, WORD id, unsigned long capacity,
                                InflatedPieceSink sink, void *context)
{
    const unsigned char *bytes;
    DWORD size;
    if (!FindTextResource(module, id, &bytes, &size))
        return Z_DATA_ERROR;
    unsigned char piece[INFLATE_PIECE_SIZE];
    z_stream stream = {};
    stream.next_in = const_cast<unsigned char *>(bytes);
    stream.avail_in = size;
    int result = inflateInit(&stream);
    unsigned long left = capacity;
    while (result == Z_OK) {
        unsigned long room = left < sizeof piece ? left : (unsigned long)sizeof piece;
        stream.next_out = piece;
        stream.avail_out = (uInt)room;
        result = inflate(&stream, Z_NO_FLUSH);
        unsigned long produced = room - stream.avail_out;
        left -= produced;
        if ((result == Z_OK || result == Z_STREAM_END) && produced > 0 &&
            !sink(context, piece, produced))
            result = Z_ERRNO;
    }
    inflateEnd(&stream);
    // No progress at all (Z_BUF_ERROR) means no room left or a cut stream.
    if (result == Z_NEED_DICT)
        result = Z_DATA_ERROR;
    return result == Z_STREAM_END ? Z_OK : result;
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
