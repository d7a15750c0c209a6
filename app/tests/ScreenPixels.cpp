#include "ScreenPixels.h"

#include "Polling.h"
#include "ScopedGdi.h"

#include <algorithm>

namespace orvo::testing {
namespace {

constexpr RECT kTitleArea = {0, 0, 200, 20};
constexpr COLORREF kTitleColour = RGB(255, 0, 0);
constexpr std::chrono::milliseconds kTitleTimeout{5000};

}  // namespace

bool ScreenArea::Contains(COLORREF colour) const {
    return std::find(pixels.begin(), pixels.end(), colour) != pixels.end();
}

ScreenArea CaptureClientArea(HWND window, RECT clientRect) {
    ScreenArea area;
    area.bounds = clientRect;
    RECT onScreen = clientRect;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
    const int width = onScreen.right - onScreen.left;
    const int height = onScreen.bottom - onScreen.top;

    ScopedClientDC screen(nullptr);
    ScopedMemoryDC memory(screen.Get());
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    SelectGuard select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), onScreen.left, onScreen.top, SRCCOPY);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            area.pixels.push_back(GetPixel(memory.Get(), x, y));
        }
    }
    return area;
}

bool WaitForDrawnTitle(HWND window) {
    return drive::PollUntil(
        [&] { return CaptureClientArea(window, kTitleArea).Contains(kTitleColour); },
        kTitleTimeout);
}

}  // namespace orvo::testing
