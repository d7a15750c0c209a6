#include "ScreenPixels.h"

#include "Polling.h"

namespace orvo::testing {
namespace {

constexpr RECT kTitleArea = {0, 0, 200, 20};
constexpr COLORREF kTitleColour = RGB(255, 0, 0);
constexpr std::chrono::milliseconds kTitleTimeout{5000};

}  // namespace

bool WaitForDrawnTitle(HWND window) {
    return drive::PollUntil(
        [&] { return CaptureClientArea(window, kTitleArea).Contains(kTitleColour); },
        kTitleTimeout);
}

}  // namespace orvo::testing
