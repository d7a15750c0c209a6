#include "OffscreenDC.h"

namespace orvo {

OffscreenDC::OffscreenDC(HDC target) : target_(target), memory_(target) {
    bool printing = GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER;
    GetClipBox(target, &rect_);
    int width = rect_.right - rect_.left;
    int height = rect_.bottom - rect_.top;
    if (printing || !memory_.IsValid() || width <= 0 || height <= 0) {
        return;
    }
    bitmap_.Reset(CreateCompatibleBitmap(target, width, height));
    if (!bitmap_.IsValid()) {
        return;
    }
    displaced_ = SelectObject(memory_.Get(), bitmap_.Get());
    SetWindowOrgEx(memory_.Get(), rect_.left, rect_.top, nullptr);
    offscreen_ = true;
}

OffscreenDC::~OffscreenDC() {
    if (!offscreen_) {
        return;
    }
    BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
           memory_.Get(), rect_.left, rect_.top, SRCCOPY);
    SelectObject(memory_.Get(), displaced_);
}

}  // namespace orvo
