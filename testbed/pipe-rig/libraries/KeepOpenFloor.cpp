// qxUSBDevAdv.dll of the keep-open floor: the least the pipe rig allows a pipe library. The
// device is searched for once, each pipe opened once with an event of its own and never closed,
// and every transfer is the overlapped call and its wait alone: no status request, no reset, no
// renewed open. For the benchmark only, on the counting table; it gives nothing back on a
// failure and never finds a device again.
#include <array>
#include <mutex>
#include <string>

#include "CountingPipeApi.h"
#include "DeviceSearch.h"
#include "OverlappedCall.h"
#include "PipeNumbers.h"
#include "PipeTransfer.h"
#include "UsbPipeExports.h"

namespace {

using namespace orvo::usbpipe;

struct FloorPipe {
    ApiHandle handle;
    ApiHandle event;
};

class FloorLibrary {
public:
    int Transfer(int pipe, bool read, unsigned char* data, int length, int timeoutMs) {
        const PipeApi& api = orvo::piperig::CountingPipeApi();
        FloorPipe* kept = Pipe(api, pipe);
        if (kept == nullptr) {
            return -1;
        }
        const HANDLE handle = kept->handle.Get();
        const TransferResult result = RunOverlapped(
            api, handle, WaitLimit(timeoutMs),
            [&](OVERLAPPED* overlapped, DWORD* count) {
                return read ? api.ReadFile(handle, data, static_cast<DWORD>(length), count,
                                           overlapped)
                            : api.WriteFile(handle, data, static_cast<DWORD>(length), count,
                                            overlapped);
            },
            kept->event.Get());
        return result.succeeded ? static_cast<int>(result.count) : -1;
    }

private:
    FloorPipe* Pipe(const PipeApi& api, int pipe) {
        if (pipe < 0 || pipe >= kPipeCount) {
            return nullptr;
        }
        std::lock_guard<std::mutex> guard(lock_);
        if (devicePath_.empty() && ProbeDevice(api, devicePath_) != 0) {
            devicePath_.clear();
            return nullptr;
        }
        FloorPipe& kept = pipes_[pipe];
        if (!kept.handle.IsValid()) {
            kept.handle = OpenPipe(api, devicePath_, pipe);
            kept.event = OwnedByApi(api, api.CreateEventA(nullptr, TRUE, FALSE, nullptr));
        }
        return kept.handle.IsValid() && kept.event.IsValid() ? &kept : nullptr;
    }

    std::mutex lock_;
    std::string devicePath_;
    std::array<FloorPipe, kPipeCount> pipes_;
};

FloorLibrary& Library() {
    orvo::piperig::CountingPipeApi();  // its counts outlive the library
    static FloorLibrary library;
    return library;
}

}  // namespace

int qxUSBAdv_ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    return Library().Transfer(pipe, true, buffer, length, timeoutMs);
}

int qxUSBAdv_WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return Library().Transfer(pipe, false, data, length, timeoutMs);
}
