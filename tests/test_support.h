// Helpers shared by the test programs: pixel canvases, scratch folders,
// whole-file I/O and inflating resources of any module.
#ifndef MORIVANE_TEST_SUPPORT_H
#define MORIVANE_TEST_SUPPORT_H

#include <windows.h>

#include <stdint.h>
#include <string>
#include <vector>

// A 32-bpp top-down DIB section selected into a memory device context.
struct Canvas {
    HDC dc = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ previous = NULL;
    uint32_t *pixels = nullptr;
    int width = 0;
    int height = 0;
};

bool CreateCanvas(Canvas *canvas, int width, int height, uint32_t fill);
void DestroyCanvas(Canvas *canvas);
// 0x00RRGGBB, after flushing pending drawing.
uint32_t PixelAt(const Canvas &canvas, int x, int y);
// Writes the canvas as a 24-bit BMP file.
bool SaveCanvasBmp(const Canvas &canvas, const char *path);

const uint32_t kWhite = 0x00FFFFFF;
const uint32_t kBlack = 0x00000000;
// A COLORREF (0x00BBGGRR) as a canvas pixel (0x00RRGGBB).
inline uint32_t PixelOf(COLORREF c)
{
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A new empty folder under the temporary folder; Windows path, no trailing
// backslash.
std::string MakeScratchFolder(const char *tag);
std::vector<unsigned char> ReadWholeFile(const std::string &path);
bool WriteWholeFile(const std::string &path, const std::string &content);
// Takes all but `leaveFree` bytes of the small drive E: that the suite maps
// (a tmpfs) with a file, whose path it returns for deleting; empty when
// there is no such drive or it cannot be filled so.
std::string FillDriveE(unsigned long leaveFree);

// Number of entries in a folder other than "." and "..".
int CountFolderEntries(const std::string &folder);

// Inflates "TEXT" resource `id` of `module` (empty on any failure).
std::vector<unsigned char> InflatedResource(HMODULE module, WORD id, unsigned long capacity);

// A special folder (CSIDL) of the running user, as the shell gives it.
std::string SpecialFolder(int csidl);
bool Exists(const std::string &path);

// What a shortcut file says, read back through IShellLinkA.
struct LinkInfo {
    bool loaded = false;
    std::string path, description, workingDir, iconPath;
    int iconIndex = -1;
};
LinkInfo ReadShellLink(const std::string &linkPath);

// Ink of one pixel of the inflated atlas data: page, x, y within the page.
bool AtlasInk(const std::vector<unsigned char> &atlas, int page, int x, int y);

#endif
