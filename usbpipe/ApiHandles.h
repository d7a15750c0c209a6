#pragma once
// Owners of the two kinds of handle the pipe library opens, each released through the table.
#include "PipeApi.h"

namespace orvo::usbpipe {

// A file or event handle, closed with CloseHandle.
class KernelHandle {
  public:
    KernelHandle(const PipeApi& api, HANDLE handle) : api_(&api), handle_(handle) {}
    ~KernelHandle();
    KernelHandle(KernelHandle&& other) noexcept;
    KernelHandle& operator=(KernelHandle&& other) noexcept;
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

  private:
    void Close();

    const PipeApi* api_;
    HANDLE handle_;
};

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
