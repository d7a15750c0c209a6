#include "UsbPipeLibrary.h"

#include "DeviceSearch.h"
#include "PipeNumbers.h"
#include "PipeTransfer.h"

namespace orvo::usbpipe {

bool IsUsableBuffer(const unsigned char* buffer, int length) {
    return length >= 0 && (buffer != nullptr || length == 0);
}

int UsbPipeLibrary::ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    return Finish(Read(pipe, buffer, length, timeoutMs));
}

int UsbPipeLibrary::WriteData(int pipe, const unsigned char* data, int length, int timeoutMs) {
    return Finish(Write(pipe, data, length, timeoutMs));
}

// Set after everything else, the pipe's close included, so that nothing changes it again.
int UsbPipeLibrary::Finish(const CallResult& result) const {
    if (result.count < 0) {
        api_.SetLastError(result.error);
    }
    return result.count;
}

CallResult UsbPipeLibrary::Read(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    if (!IsReadPipe(pipe) || !IsUsableBuffer(buffer, length)) {
        return CallResult::Failed(kRefusedCallError);
    }
    DWORD error = ERROR_SUCCESS;
    ApiHandle handle = OpenDevicePipe(pipe, error);
    if (!handle.IsValid()) {
        return CallResult::Failed(error);
    }
    ResetPipeIfAsked(api_, handle.Get());
    return CallResult::Of(ReadPipe(api_, handle.Get(), buffer, length, timeoutMs));
}

CallResult UsbPipeLibrary::Write(int pipe, const unsigned char* data, int length, int timeoutMs) {
    if (!IsWritePipe(pipe) || !IsUsableBuffer(data, length)) {
        return CallResult::Failed(kRefusedCallError);
    }
    DWORD error = ERROR_SUCCESS;
    ApiHandle handle = OpenDevicePipe(pipe, error);
    if (!handle.IsValid()) {
        return CallResult::Failed(error);
    }
    return CallResult::Of(WritePipe(api_, handle.Get(), data, length, timeoutMs));
}

bool UsbPipeLibrary::DeviceFound() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return deviceFound_;
}

std::string UsbPipeLibrary::DevicePath() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return devicePath_;
}

ApiHandle UsbPipeLibrary::OpenDevicePipe(int pipe, DWORD& error) {
    const auto known = KnownDevicePath(error);
    if (!known) {
        return OwnedByApi(api_, INVALID_HANDLE_VALUE);
    }
    ApiHandle handle = OpenPipe(api_, *known, pipe, &error);
    if (handle.IsValid()) {
        return handle;
    }
    // The pipe's open is what failed; a renewed search that fails too keeps its error.
    const auto renewed = RenewedDevicePath();
    if (!renewed) {
        return OwnedByApi(api_, INVALID_HANDLE_VALUE);
    }
    return OpenPipe(api_, *renewed, pipe, &error);
}

std::optional<std::string> UsbPipeLibrary::KnownDevicePath(DWORD& error) {
    std::lock_guard<std::mutex> lock(stateLock_);
    if (!deviceFound_) {
        if (ProbeDevice(api_, devicePath_, &error) != 0) {
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
