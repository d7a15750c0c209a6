#include "UsbPipeLibrary.h"

#include "DeviceSearch.h"
#include "PipeNumbers.h"
#include "PipeTransfer.h"

namespace orvo::usbpipe {

namespace {

// A negative length would reach the system as a huge one, and a missing buffer has no room.
bool IsUsableBuffer(const unsigned char* buffer, int length) {
    return length >= 0 && (buffer != nullptr || length == 0);
}

}  // namespace

int UsbPipeLibrary::ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    if (!IsReadPipe(pipe) || !IsUsableBuffer(buffer, length)) {
        return -1;
    }
    ApiHandle handle = OpenDevicePipe(pipe);
    if (!handle.IsValid()) {
        return -1;
    }
    ResetPipeIfAsked(api_, handle.Get());
    return ReadPipe(api_, handle.Get(), buffer, length, timeoutMs);
}

int UsbPipeLibrary::WriteData(int pipe, const unsigned char* data, int length, int timeoutMs) {
    if (!IsWritePipe(pipe) || !IsUsableBuffer(data, length)) {
        return -1;
    }
    ApiHandle handle = OpenDevicePipe(pipe);
    if (!handle.IsValid()) {
        return -1;
    }
    return WritePipe(api_, handle.Get(), data, length, timeoutMs);
}

bool UsbPipeLibrary::DeviceFound() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return deviceFound_;
}

std::string UsbPipeLibrary::DevicePath() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return devicePath_;
}

ApiHandle UsbPipeLibrary::OpenDevicePipe(int pipe) {
    const auto known = KnownDevicePath();
    if (!known) {
        return OwnedByApi(api_, INVALID_HANDLE_VALUE);
    }
    ApiHandle handle = OpenPipe(api_, *known, pipe);
    if (handle.IsValid()) {
        return handle;
    }
    const auto renewed = RenewedDevicePath();
    if (!renewed) {
        return OwnedByApi(api_, INVALID_HANDLE_VALUE);
    }
    return OpenPipe(api_, *renewed, pipe);
}

std::optional<std::string> UsbPipeLibrary::KnownDevicePath() {
    std::lock_guard<std::mutex> lock(stateLock_);
    if (!deviceFound_) {
        if (ProbeDevice(api_, devicePath_) != 0) {
            return std::nullopt;
        }
        deviceFound_ = true;
    }
    return devicePath_;
}

std::optional<std::string> UsbPipeLibrary::RenewedDevicePath() {
    std::lock_guard<std::mutex> lock(stateLock_);
    if (ProbeDevice(api_, devicePath_) != 0) {
        deviceFound_ = false;
        return std::nullopt;
    }
    return devicePath_;
}

}  // namespace orvo::usbpipe
