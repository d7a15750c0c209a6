#pragma once
// What the screen shows of another process's window: the tool paints its title and version
// straight onto its background, where no window message can read them.
#include <windows.h>

#include <vector>

namespace orvo::testing {

struct ScreenArea {
    RECT bounds{};  // in the window's client pixels
    std::vector<COLORREF> pixels;

    bool Contains(COLORREF colour) const;
};

// The pixels of `clientRect` of `window` as the screen shows them now.
ScreenArea CaptureClientArea(HWND window, RECT clientRect);

// Waits until the tool's 100 ms timer has drawn the red title at the top left; false when it
// does not within a few seconds. The timer runs in the dialog's own message loop, so this also
// tells that the loop has started.
bool WaitForDrawnTitle(HWND window);

}  // namespace orvo::testing
