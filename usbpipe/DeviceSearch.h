#pragma once
// The device search: the first present interface of the device's class whose path opens.
#include <optional>
#include <string>
#include <vector>

#include "ApiHandles.h"
#include "PipeApi.h"

namespace orvo::usbpipe {

// {8F49042E-A314-4211-B893-2EBF51BFF94D}, the interface class of the device's driver.
extern const GUID kDeviceInterfaceClass;

// A list whose enumeration fails this many times in a row with an error other than "no more
// items" is given up; the error would otherwise keep the search going for ever.
constexpr int kMaxFailedEnumerations = 16;

// Returns the opened device, or an invalid handle. `devicePath` is left holding the path of the
// last interface tried, found or not. A failed search leaves in `error`, when one is given, the
// error of the last device that did not open, or kNoDeviceError when no interface was listed,
// or the setup API's own when the device set could not be made.
ApiHandle FindDevice(const PipeApi& api, std::string& devicePath, DWORD* error = nullptr);

// FindDevice with the device closed again at once: 0 when found, -1 otherwise.
int ProbeDevice(const PipeApi& api, std::string& devicePath, DWORD* error = nullptr);

// The device paths of the interfaces listed now, in the system's order; nothing, with the
// setup API's error, when the device set could not be made.
std::optional<std::vector<std::string>> ListedDevicePaths(const PipeApi& api, DWORD& error);

// Whether the device at `path` opens; it is closed again at once. The open's error otherwise.
bool DeviceOpens(const PipeApi& api, const std::string& path, DWORD& error);

}  // namespace orvo::usbpipe
