#pragma once
// The two pipe DLLs of this build, for tests that load them as outside callers do.
#include <ostream>

namespace orvo::usbpipe::testing {

struct BuiltPipeDll {
    const char* name;
    const char* path;    // as the build names it; see WindowsPath
    const char* prefix;  // of its export names
};

inline const BuiltPipeDll kBuiltPipeDlls[] = {
    {"qxUSBDev", ORVO_QXUSBDEV_DLL, "qxUSB_"},
    {"qxUSBDevAdv", ORVO_QXUSBDEVADV_DLL, "qxUSBAdv_"},
};

inline void PrintTo(const BuiltPipeDll& dll, std::ostream* out) {
    *out << dll.name;
}

}  // namespace orvo::usbpipe::testing
