// Saves what a window looks like on screen as a PNG, so a person can check a
// dialog's layout at a glance. Header only: unit and end-to-end tests use it.
#pragma once
#include <windows.h>
#include <stdio.h>
#include <string>
#include <vector>

namespace capture_detail {

inline unsigned long Crc32(const unsigned char *data, size_t size, unsigned long crc = 0) {
    crc = ~crc & 0xFFFFFFFFul;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1)));
    }
    return ~crc & 0xFFFFFFFFul;
}

inline void PutBig32(std::vector<unsigned char> &out, unsigned long v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((unsigned char)(v >> shift));
}

inline void PutChunk(std::vector<unsigned char> &out, const char type[4], const std::vector<unsigned char> &data) {
    PutBig32(out, (unsigned long)data.size());
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

// zlib stream of stored (uncompressed) deflate blocks: small code, readable PNG.
inline std::vector<unsigned char> ZlibStored(const std::vector<unsigned char> &raw) {
    std::vector<unsigned char> out = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        out.push_back(pos + n == raw.size() ? 1 : 0);
        out.push_back((unsigned char)(n & 0xFF));
        out.push_back((unsigned char)(n >> 8));
        out.push_back((unsigned char)(~n & 0xFF));
        out.push_back((unsigned char)((~n >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    unsigned long a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(out, (b << 16) | a);
    return out;
}

} // namespace capture_detail

// Writes `window` as drawn, frame and children included, to `path`; false on
// failure. A window of this process is read from its own surface (the screen
// may lag behind it); another process's window from the screen.
inline bool SaveWindowPng(HWND window, const std::string &path) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    bool ours = owner == GetCurrentProcessId();
    using namespace capture_detail;
    if (ours) RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HWND source = ours ? window : NULL;
    HDC screen = GetWindowDC(source);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    bool ok = false;
    std::vector<unsigned char> raw;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, ours ? 0 : rect.left, ours ? 0 : rect.top, SRCCOPY) != 0;
        GdiFlush();
        const unsigned char *px = (const unsigned char *)bits;
        for (int y = 0; y < height; ++y) {
            raw.push_back(0); // filter: none
            for (int x = 0; x < width; ++x) {
                const unsigned char *p = px + ((size_t)y * width + x) * 4;
                raw.push_back(p[2]);
                raw.push_back(p[1]);
                raw.push_back(p[0]);
            }
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(source, screen);
    if (!ok) return false;

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBig32(header, (unsigned long)width);
    PutBig32(header, (unsigned long)height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStored(raw));
    PutChunk(png, "IEND", {});
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}

// The folder beside the running test program where screenshots are kept.
inline std::string ScreenshotDir() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    if (n == 0 || n >= sizeof path) return ".";
    std::string dir(path);
    dir = dir.substr(0, dir.find_last_of('\\')) + "\\screenshots";
    CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}
