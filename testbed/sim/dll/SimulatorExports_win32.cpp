// qxUSBDevAdv.dll played by the simulated device, so that the real program can run an upgrade
// without one. It is set up from the environment when first called (ORVO_SIM_* in
// SimConfig.h); unloading and loading it again starts a fresh device with the settings then
// in force.
#include "ConfiguredDevice.h"
#include "PipeLibraryCalls.h"

#include <windows.h>

#include <optional>
#include <string>

namespace {

std::optional<std::string> EnvironmentSetting(const char* name) {
    // The process's own block: a CRT copy of the environment may predate the caller's changes.
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    if (length == 0 || length >= size) {
        return std::nullopt;
    }
    value.resize(length);
    return value;
}

orvo::PipeLibrary& Device() {
    static orvo::sim::ConfiguredDevice simulator(EnvironmentSetting);
    return simulator.Pipes();
}

}  // namespace

extern "C" int qxUSBAdv_WriteData(int pipe, unsigned char* data, int length, int timeout_ms) {
    return Device().WriteData(pipe, data, length, timeout_ms);
}

extern "C" int qxUSBAdv_ReadData(int pipe, unsigned char* data, int length, int timeout_ms) {
    return Device().ReadData(pipe, data, length, timeout_ms);
}
