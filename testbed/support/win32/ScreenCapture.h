#pragma once
// What the screen shows of a window, ours or another process's: the skin paints titles, texts
// and the progress bar straight onto the window, where no window message can read them.
#include <windows.h>

#include <vector>

namespace orvo::testing {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // Whether any pixel of the rectangle [left, right) x [top, bottom) has the colour.
    bool Contains(COLORREF colour, int left, int top, int right, int bottom) const;
    bool Contains(COLORREF colour) const { return Contains(colour, 0, 0, width, height); }
    // Whether every pixel of the rectangle has the colour.
    bool AllOf(COLORREF colour, int left, int top, int right, int bottom) const;
    bool operator==(const Image& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

// The pixels of `clientRect` (in the window's client pixels) as the screen shows them now.
Image CaptureClientArea(HWND window, RECT clientRect);
// The whole client area.
Image Capture(HWND window);

}  // namespace orvo::testing
