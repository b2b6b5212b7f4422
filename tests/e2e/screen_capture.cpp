#include "e2e/screen_capture.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace e2e {
namespace {

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() {
        if (dc) ReleaseDC(nullptr, dc);
    }
};

struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC screen) : dc(CreateCompatibleDC(screen)) {}
    ~MemoryDc() {
        if (dc) DeleteDC(dc);
    }
};

struct Bitmap {
    HBITMAP bitmap = nullptr;
    ~Bitmap() {
        if (bitmap) DeleteObject(bitmap);
    }
};

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

bool saveScreenAsBmp(const std::wstring& path, const RECT* area) {
    RECT part{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (area && !IntersectRect(&part, &part, area)) return false;
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    ScreenDc screen;
    if (!screen.dc || width <= 0 || height <= 0) return false;
    MemoryDc memory(screen.dc);
    if (!memory.dc) return false;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files store it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);
    void* bits = nullptr;
    Bitmap picture;
    picture.bitmap = CreateDIBSection(screen.dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (!picture.bitmap || !bits) return false;
    HGDIOBJ previous = SelectObject(memory.dc, picture.bitmap);
    const BOOL copied =
        BitBlt(memory.dc, 0, 0, width, height, screen.dc, part.left, part.top, SRCCOPY | CAPTUREBLT);
    SelectObject(memory.dc, previous);
    if (!copied) return false;
    GdiFlush();

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::unique_ptr<FILE, FileCloser> out(_wfopen(path.c_str(), L"wb"));
    if (!out) return false;
    return std::fwrite(&file, sizeof file, 1, out.get()) == 1 &&
           std::fwrite(&header, sizeof header, 1, out.get()) == 1 &&
           std::fwrite(bits, header.biSizeImage, 1, out.get()) == 1;
}

namespace {

struct ProcessWindows {
    DWORD processId;
    RECT bounds;
    bool any;
};

BOOL CALLBACK addWindowOfProcess(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ProcessWindows*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    RECT r{};
    if (owner != search->processId || !IsWindowVisible(window) || !GetWindowRect(window, &r)) return TRUE;
    if (search->any) {
        UnionRect(&search->bounds, &search->bounds, &r);
    } else {
        search->bounds = r;
        search->any = true;
    }
    return TRUE;
}

}  // namespace

bool processWindowsBounds(DWORD processId, RECT& bounds) {
    ProcessWindows search{processId, {}, false};
    EnumWindows(addWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    bounds = search.bounds;
    return search.any;
}

}  // namespace e2e
