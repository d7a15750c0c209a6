#pragma once
// Draws one paint into a bitmap and copies it to the target in one BitBlt when destroyed, so
// the screen never shows a half-drawn control. Drawing uses the target's coordinates. A printer
// target, or a bitmap that cannot be made, is drawn on directly.
#include "ScopedGdi.h"

#include <windows.h>

namespace orvo {

class OffscreenDC {
public:
    explicit OffscreenDC(HDC target);
    ~OffscreenDC();
    OffscreenDC(const OffscreenDC&) = delete;
    OffscreenDC& operator=(const OffscreenDC&) = delete;

    HDC Get() const { return offscreen_ ? memory_.Get() : target_; }
    bool IsOffscreen() const { return offscreen_; }

private:
    HDC target_;
    RECT rect_{};  // the target's clip box
    ScopedMemoryDC memory_;
    ScopedBitmap bitmap_;
    HGDIOBJ displaced_ = nullptr;
    bool offscreen_ = false;
};

}  // namespace orvo
