// orvo built natively on the simulated device, set up as the simulator DLL is (ORVO_SIM_*):
// the command line tried end to end without Wine.
#include "ConfiguredDevice.h"
#include "Orvo.h"

#include <cstdlib>

namespace {

std::optional<std::string> EnvironmentSetting(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

}  // namespace

int main(int argc, char** argv) {
    orvo::sim::ConfiguredDevice device(EnvironmentSetting);
    return orvo::console::RunOrvoProcess(argc, argv, device.Device());
}
