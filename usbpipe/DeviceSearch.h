#pragma once
// The device search: the first present interface of the device's class whose path opens.
#include <string>

#include "ApiHandles.h"
#include "PipeApi.h"

namespace orvo::usbpipe {

// {8F49042E-A314-4211-B893-2EBF51BFF94D}, the interface class of the device's driver.
extern const GUID kDeviceInterfaceClass;

// A list whose enumeration fails this many times in a row with an error other than "no more
// items" is given up; the error would otherwise keep the search going for ever.
constexpr int kMaxFailedEnumerations = 16;

// Returns the opened device, or an invalid handle. `devicePath` is left holding the path of the
// last interface tried, found or not.
ApiHandle FindDevice(const PipeApi& api, std::string& devicePath);

// FindDevice with the device closed again at once: 0 when found, -1 otherwise.
int ProbeDevice(const PipeApi& api, std::string& devicePath);

}  // namespace orvo::usbpipe
