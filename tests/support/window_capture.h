// Saves what a window looks like on screen as a PNG, so a person can check a
// dialog's layout at a glance. Header only: unit and end-to-end tests use it;
// they link windowscodecs (the system's PNG encoder), ole32 and uuid.
#pragma once
#include <windows.h>
#include <wincodec.h>
#include <string>
#include <vector>

namespace capture_detail {

// Pixels, top-down rows of 24-bit BGR, through the system's PNG encoder.
inline bool WritePng(const std::string &path, UINT width, UINT height, std::vector<BYTE> &rows) {
    wchar_t widePath[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)) return false;
    HRESULT init = CoInitialize(NULL);
    IWICImagingFactory *factory = NULL;
    IWICStream *stream = NULL;
    IWICBitmapEncoder *encoder = NULL;
    IWICBitmapFrameEncode *frame = NULL;
    IPropertyBag2 *options = NULL;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT stride = width * 3;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER,
                                         IID_IWICImagingFactory, (void **)&factory)) &&
              SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(widePath, GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, NULL, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options)) &&
              SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
              IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
              SUCCEEDED(frame->WritePixels(height, stride, (UINT)rows.size(), rows.data())) &&
              SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    for (IUnknown *object : {(IUnknown *)options, (IUnknown *)frame, (IUnknown *)encoder, (IUnknown *)stream,
                             (IUnknown *)factory})
        if (object) object->Release();
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}

} // namespace capture_detail

// Writes `window` as drawn, frame and children included, to `path`; false on
// failure. A window of this process is read from its own surface (the screen
// may lag behind it); another process's window from the screen.
inline bool SaveWindowPng(HWND window, const std::string &path) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    bool ours = owner == GetCurrentProcessId();
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
    std::vector<BYTE> rows;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, ours ? 0 : rect.left, ours ? 0 : rect.top, SRCCOPY) != 0;
        GdiFlush();
        // The section's fourth byte is padding, not transparency: store RGB.
        const BYTE *px = (const BYTE *)bits;
        rows.reserve((size_t)width * height * 3);
        for (size_t i = 0; i < (size_t)width * height; ++i) rows.insert(rows.end(), px + i * 4, px + i * 4 + 3);
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(source, screen);
    if (!ok) return false;
    return capture_detail::WritePng(path, (UINT)width, (UINT)height, rows);
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
