#include "ApiHandles.h"

#include <utility>

namespace orvo::usbpipe {

KernelHandle::~KernelHandle() {
    Close();
}

KernelHandle::KernelHandle(KernelHandle&& other) noexcept
    : api_(other.api_), handle_(std::exchange(other.handle_, nullptr)) {}

KernelHandle& KernelHandle::operator=(KernelHandle&& other) noexcept {
    if (this != &other) {
        Close();
        api_ = other.api_;
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

void KernelHandle::Close() {
    if (IsValid()) {
        api_->CloseHandle(handle_);
    }
    handle_ = nullptr;
}

DeviceInfoSet::~DeviceInfoSet() {
    if (IsValid()) {
        api_.SetupDiDestroyDeviceInfoList(set_);
    }
}

}  // namespace orvo::usbpipe
