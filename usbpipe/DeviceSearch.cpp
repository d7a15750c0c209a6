#include "DeviceSearch.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

#include "WindowsErrors.h"

namespace orvo::usbpipe {

const GUID kDeviceInterfaceClass = {
    0x8F49042E, 0xA314, 0x4211, {0xB8, 0x93, 0x2E, 0xBF, 0x51, 0xBF, 0xF9, 0x4D}};

namespace {

constexpr std::size_t kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
constexpr std::size_t kLongestPath = 32768;

#ifndef _WIN64
// The 32-bit callers and the system agree on these: the detail record's size field says 5,
// and pointers, which the record's layout follows, are 4 bytes wide.
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 5);
static_assert(sizeof(void*) == 4);
#endif

// The interface's device path, or nothing when its detail cannot be had.
std::optional<std::string> InterfacePath(const PipeApi& api, HDEVINFO set,
                                         SP_DEVICE_INTERFACE_DATA& iface) {
    DWORD required = 0;
    api.SetupDiGetDeviceInterfaceDetailA(set, &iface, nullptr, 0, &required, nullptr);
    // A record too small to hold its own size field and one character cannot be asked for, and
    // none is larger than the longest path Windows knows.
    if (required <= kPathOffset || required > kPathOffset + kLongestPath) {
        return std::nullopt;
    }
    std::vector<unsigned char> storage(required);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!api.SetupDiGetDeviceInterfaceDetailA(set, &iface, detail, required, nullptr, nullptr)) {
        return std::nullopt;
    }
    const std::size_t room = required - kPathOffset;
    return std::string(detail->DevicePath, strnlen(detail->DevicePath, room));
}

HANDLE OpenDevice(const PipeApi& api, const std::string& path) {
    return api.CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Calls `take` with the path of each interface of the set, in order, until it returns true.
template <typename Take>
void VisitInterfacePaths(const PipeApi& api, HDEVINFO set, Take take) {
    int failedInARow = 0;
    for (DWORD index = 0; failedInARow < kMaxFailedEnumerations; ++index) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof iface;
        if (!api.SetupDiEnumDeviceInterfaces(set, nullptr, &kDeviceInterfaceClass, index, &iface)) {
            if (EndsEnumeration(api.GetLastError())) {
                return;
            }
            ++failedInARow;
            continue;
        }
        failedInARow = 0;
        const auto path = InterfacePath(api, set, iface);
        if (path && take(*path)) {
            return;
        }
    }
}

HDEVINFO PresentDevices(const PipeApi& api) {
    return api.SetupDiGetClassDevsA(&kDeviceInterfaceClass, nullptr, nullptr,
                                    DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
}

}  // namespace

ApiHandle FindDevice(const PipeApi& api, std::string& devicePath, DWORD* error) {
    DWORD failure = kNoDeviceError;
    // Declared before the set, so that the set is destroyed before the device is closed.
    ApiHandle found = OwnedByApi(api, INVALID_HANDLE_VALUE);
    DeviceInfoSet set(api, PresentDevices(api));
    if (!set.IsValid()) {
        failure = api.GetLastError();
    } else {
        VisitInterfacePaths(api, set.Get(), [&](const std::string& path) {
            devicePath = path;
            ApiHandle device = OwnedByApi(api, OpenDevice(api, devicePath));
            if (!device.IsValid()) {
                failure = api.GetLastError();
                return false;
            }
            found = std::move(device);
            return true;
        });
    }
    if (!found.IsValid() && error != nullptr) {
        *error = failure;
    }
    return found;
}

int ProbeDevice(const PipeApi& api, std::string& devicePath, DWORD* error) {
    return FindDevice(api, devicePath, error).IsValid() ? 0 : -1;
}

std::optional<std::vector<std::string>> ListedDevicePaths(const PipeApi& api, DWORD& error) {
    DeviceInfoSet set(api, PresentDevices(api));
    if (!set.IsValid()) {
        error = api.GetLastError();
        return std::nullopt;
    }
    std::vector<std::string> paths;
    VisitInterfacePaths(api, set.Get(), [&](const std::string& path) {
        paths.push_back(path);
        return false;
    });
    return paths;
}

bool DeviceOpens(const PipeApi& api, const std::string& path, DWORD& error) {
    const ApiHandle device = OwnedByApi(api, OpenDevice(api, path));
    if (!device.IsValid()) {
        error = api.GetLastError();
    }
    return device.IsValid();
}

}  // namespace orvo::usbpipe
