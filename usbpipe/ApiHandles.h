#pragma once
// Owners of the two kinds of handle the pipe library opens, each released through the table.
#include "PipeApi.h"
#include "win32/KernelHandle.h"

namespace orvo::usbpipe {

// A file or event handle, closed with the table's CloseHandle.
struct CloseThroughApi {
    const PipeApi* api = nullptr;
    bool operator()(HANDLE handle) const { return api->CloseHandle(handle) != 0; }
};
using ApiHandle = BasicKernelHandle<CloseThroughApi>;

inline ApiHandle OwnedByApi(const PipeApi& api, HANDLE handle) {
    return ApiHandle(handle, CloseThroughApi{&api});
}

// A device information set of the setup API, destroyed with SetupDiDestroyDeviceInfoList.
class DeviceInfoSet {
public:
    DeviceInfoSet(const PipeApi& api, HDEVINFO set) : api_(api), set_(set) {}
    ~DeviceInfoSet();
    DeviceInfoSet(const DeviceInfoSet&) = delete;
    DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;

    bool IsValid() const { return set_ != nullptr && set_ != INVALID_HANDLE_VALUE; }
    HDEVINFO Get() const { return set_; }

private:
    const PipeApi& api_;
    HDEVINFO set_;
};

}  // namespace orvo::usbpipe
