#include "ScreenCapture.h"

#include "ScopedGdi.h"

namespace orvo::testing {

bool Image::Contains(COLORREF colour, int left, int top, int right, int bottom) const {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (At(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

bool Image::AllOf(COLORREF colour, int left, int top, int right, int bottom) const {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (At(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

Image CaptureClientArea(HWND window, RECT clientRect) {
    // A window of this process is read through its own client DC, which under Wine holds what
    // was drawn into it even before the screen shows it; another process's window only through
    // the screen.
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    const bool ours = owner == GetCurrentProcessId();
    RECT source = clientRect;
    if (!ours) {
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&source), 2);
    }
    Image image;
    image.width = source.right - source.left;
    image.height = source.bottom - source.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedClientDC from(ours ? window : nullptr);
    ScopedBitmap bitmap(CreateDIBSection(from.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedMemoryDC memory(from.Get());
    {
        SelectGuard select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, image.width, image.height, from.Get(), source.left, source.top,
               SRCCOPY);
    }
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits);
    for (int i = 0; i < image.width * image.height; ++i) {
        DWORD bgr = pixel[i];
        image.pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    return image;
}

Image Capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return CaptureClientArea(window, client);
}

}  // namespace orvo::testing
