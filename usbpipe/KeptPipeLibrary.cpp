#include "KeptPipeLibrary.h"

#include <algorithm>

#include "DeviceSearch.h"
#include "PipeTransfer.h"
#include "UsbPipeLibrary.h"

namespace orvo::usbpipe {

struct KeptPipeLibrary::KeptPipe {
    KeptPipe(ApiHandle pipe, ApiHandle transferEvent)
        : handle(std::move(pipe)), event(std::move(transferEvent)) {}

    ApiHandle handle;
    ApiHandle event;  // for one transfer at a time
    std::atomic<bool> eventInUse{false};
    std::atomic<bool> statusAsked{false};  // before the first read
};

KeptPipeLibrary::~KeptPipeLibrary() {
    ForgetPipes();
}

int KeptPipeLibrary::ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    if (!IsReadPipe(pipe) || !IsUsableBuffer(buffer, length)) {
        return Finish(CallResult::Failed(kRefusedCallError));
    }
    return Finish(Transfer(pipe, true, buffer, length, timeoutMs));
}

int KeptPipeLibrary::WriteData(int pipe, const unsigned char* data, int length, int timeoutMs) {
    if (!IsWritePipe(pipe) || !IsUsableBuffer(data, length)) {
        return Finish(CallResult::Failed(kRefusedCallError));
    }
    // The system only reads the data of a write.
    return Finish(Transfer(pipe, false, const_cast<unsigned char*>(data), length, timeoutMs));
}

int KeptPipeLibrary::Finish(const CallResult& result) const {
    if (result.count < 0) {
        api_.SetLastError(result.error);
    }
    return result.count;
}

CallResult KeptPipeLibrary::Transfer(int pipe, bool read, unsigned char* data, int length,
                                     int timeoutMs) {
    DWORD error = ERROR_SUCCESS;
    const std::shared_ptr<KeptPipe> kept = TakePipe(pipe, error);
    if (!kept) {
        return CallResult::Failed(error);
    }
    const HANDLE handle = kept->handle.Get();
    if (read && !kept->statusAsked.exchange(true)) {
        ResetPipeIfAsked(api_, handle);
    }
    // The kept event serves one transfer at a time; a second one at once makes its own.
    const bool ownsEvent = !kept->eventInUse.exchange(true);
    const HANDLE event = ownsEvent ? kept->event.Get() : nullptr;
    const TransferResult result = read ? ReadPipe(api_, handle, data, length, timeoutMs, event)
                                       : WritePipe(api_, handle, data, length, timeoutMs, event);
    if (ownsEvent) {
        kept->eventInUse = false;
    }
    if (!result.succeeded) {
        ForgetPipes();
    }
    return CallResult::Of(result);
}

bool KeptPipeLibrary::DeviceFound() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return deviceFound_;
}

std::string KeptPipeLibrary::DevicePath() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return devicePath_;
}

int KeptPipeLibrary::KeptPipes() const {
    std::lock_guard<std::mutex> lock(stateLock_);
    return static_cast<int>(std::count_if(pipes_.begin(), pipes_.end(),
                                          [](const auto& kept) { return kept != nullptr; }));
}

std::shared_ptr<KeptPipeLibrary::KeptPipe> KeptPipeLibrary::TakePipe(int pipe, DWORD& error) {
    std::lock_guard<std::mutex> lock(stateLock_);
    if (pipes_[pipe]) {
        return pipes_[pipe];
    }
    if (!deviceFound_) {
        if (!SearchDevice(error)) {
            return nullptr;
        }
        deviceFound_ = true;
    }
    ApiHandle handle = OpenPipe(api_, devicePath_, pipe, &error);
    if (!handle.IsValid()) {
        // The pipe's open is what failed; a renewed search that fails too keeps its error.
        DWORD searchError = ERROR_SUCCESS;
        if (!SearchDevice(searchError)) {
            deviceFound_ = false;
            return nullptr;
        }
        handle = OpenPipe(api_, devicePath_, pipe, &error);
        if (!handle.IsValid()) {
            return nullptr;
        }
    }
    ApiHandle event = OwnedByApi(api_, api_.CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!event.IsValid()) {
        error = api_.GetLastError();
        return nullptr;
    }
    pipes_[pipe] = std::make_shared<KeptPipe>(std::move(handle), std::move(event));
    return pipes_[pipe];
}

bool KeptPipeLibrary::SearchDevice(DWORD& error) {
    const auto listed = ListedDevicePaths(api_, error);
    if (!listed) {
        return false;
    }
    const bool inUseListed = !devicePath_.empty() && std::find(listed->begin(), listed->end(),
                                                               devicePath_) != listed->end();
    if (inUseListed) {
        return DeviceOpens(api_, devicePath_, error);
    }
    if (!devicePath_.empty() && AnyPipeKept()) {
        error = kNoDeviceError;  // gone, but a pipe of it is still open: not done with it yet
        return false;
    }
    error = kNoDeviceError;
    for (const std::string& path : *listed) {
        if (DeviceOpens(api_, path, error)) {
            devicePath_ = path;
            return true;
        }
    }
    return false;
}

bool KeptPipeLibrary::AnyPipeKept() const {
    return std::any_of(pipes_.begin(), pipes_.end(),
                       [](const auto& kept) { return kept != nullptr; });
}

void KeptPipeLibrary::ForgetPipes() {
    std::array<std::shared_ptr<KeptPipe>, kPipeCount> forgotten;
    {
        std::lock_guard<std::mutex> lock(stateLock_);
        forgotten.swap(pipes_);
    }
    // Closed here, outside the lock, unless a transfer still holds one.
}

}  // namespace orvo::usbpipe
