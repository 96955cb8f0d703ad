// Helpers shared by the test programs (see test_support.h).
#include "test_support.h"

#include <io.h>
#include <objbase.h>
#include <shlobj.h>
#include <stdio.h>
#include <zlib.h>

#include "base/text_resource.h"
#include "render/glyph_atlas.h"

bool CreateCanvas(Canvas *canvas, int width, int height, uint32_t fill)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    canvas->bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    canvas->dc = CreateCompatibleDC(NULL);
    if (canvas->bitmap == NULL || canvas->dc == NULL)
        return false;
    canvas->previous = SelectObject(canvas->dc, canvas->bitmap);
    canvas->pixels = static_cast<uint32_t *>(bits);
    canvas->width = width;
    canvas->height = height;
    for (int i = 0; i < width * height; ++i)
        canvas->pixels[i] = fill;
    return true;
}

void DestroyCanvas(Canvas *canvas)
{
    if (canvas->dc != NULL) {
        SelectObject(canvas->dc, canvas->previous);
        DeleteDC(canvas->dc);
    }
    if (canvas->bitmap != NULL)
        DeleteObject(canvas->bitmap);
    *canvas = Canvas();
}

uint32_t PixelAt(const Canvas &canvas, int x, int y)
{
    GdiFlush();
    return canvas.pixels[y * canvas.width + x] & 0x00FFFFFF;
}

bool SaveCanvasBmp(const Canvas &canvas, const char *path)
{
    GdiFlush();
    int rowBytes = (canvas.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = canvas.width;
    header.biHeight = canvas.height;  // bottom-up rows in the file
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = rowBytes * canvas.height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE *out = fopen(path, "wb");
    if (out == NULL)
        return false;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&header, sizeof header, 1, out);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = canvas.height - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.width; ++x) {
            uint32_t p = canvas.pixels[y * canvas.width + x];
            row[x * 3] = p & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        fwrite(row.data(), 1, row.size(), out);
    }
    return fclose(out) == 0;
}

std::string MakeScratchFolder(const char *tag)
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp)
        return std::string();
    // Process ids come round again within a Wine session: a name already
    // taken means the next one.
    static int counter;
    char folder[MAX_PATH];
    for (int attempt = 0; attempt < 1000; ++attempt) {
        snprintf(folder, sizeof folder, "%smv_%s_%lu_%d", temp, tag,
                 GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(folder, NULL))
            return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return std::string();
}

std::vector<unsigned char> ReadWholeFile(const std::string &path)
{
    std::vector<unsigned char> data;
    FILE *in = fopen(path.c_str(), "rb");
    if (in == NULL)
        return data;
    unsigned char chunk[4096];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, in)) > 0)
        data.insert(data.end(), chunk, chunk + count);
    fclose(in);
    return data;
}

bool WriteWholeFile(const std::string &path, const std::string &content)
{
    FILE *out = fopen(path.c_str(), "wb");
    if (out == NULL)
        return false;
    size_t written = fwrite(content.data(), 1, content.size(), out);
    return fclose(out) == 0 && written == content.size();
}

std::string FillDriveE(unsigned long leaveFree)
{
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExA("E:\\", &available, &total, &free) ||
        available.QuadPart < leaveFree)
        return std::string();
    static int counter;
    std::string filler =
        "E:\\filler-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    std::string content((size_t)(available.QuadPart - leaveFree), 'f');
    if (!WriteWholeFile(filler, content) || !GetDiskFreeSpaceExA("E:\\", &available, &total, &free) ||
        available.QuadPart != leaveFree) {
        DeleteFileA(filler.c_str());
        return std::string();
    }
    return filler;
}

int CountFolderEntries(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

std::vector<unsigned char> InflatedResource(HMODULE module, WORD id, unsigned long capacity)
{
    std::vector<unsigned char> data(capacity);
    unsigned long length = capacity;
    if (InflateTextResource(module, id, data.data(), &length) != Z_OK)
        length = 0;
    data.resize(length);
    return data;
}

bool AtlasInk(const std::vector<unsigned char> &atlas, int page, int x, int y)
{
    size_t offset = static_cast<size_t>(page) * GLYPH_PAGE_BYTES +
                    static_cast<size_t>(y) * (GLYPH_PAGE_WIDTH / 8) + x / 8;
    if (offset >= atlas.size())
        return false;  // beyond the shipped data: blank paper
    return ((atlas[offset] >> (7 - x % 8)) & 1) == 0;
}

std::string SpecialFolder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(NULL, path, csidl, FALSE);
    return path;
}

bool Exists(const std::string &path) { return _access(path.c_str(), 0) == 0; }

LinkInfo ReadShellLink(const std::string &linkPath)
{
    LinkInfo info;
    CoInitialize(NULL);
    IShellLinkA *link = NULL;
    IPersistFile *file = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   (void **)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            info.loaded = true;
            link->GetPath(text, sizeof text, NULL, SLGP_RAWPATH);
            info.path = text;
            text[0] = '\0';
            link->GetDescription(text, sizeof text);
            info.description = text;
            text[0] = '\0';
            link->GetWorkingDirectory(text, sizeof text);
            info.workingDir = text;
            text[0] = '\0';
            link->GetIconLocation(text, sizeof text, &info.iconIndex);
            info.iconPath = text;
        }
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return info;
}
