// sim-rig-server: plays the pipe device with the simulated device, set up from the ORVO_SIM_*
// environment variables as the simulator DLL is.
#include <cstdlib>
#include <optional>
#include <string>

#include "ConfiguredDevice.h"
#include "PipeLibraryResponder.h"
#include "RigServerMain.h"

namespace {

std::optional<std::string> EnvironmentSetting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    orvo::sim::ConfiguredDevice simulated(EnvironmentSetting);
    orvo::piperig::PipeLibraryResponder device(simulated.Device());
    return orvo::piperig::RunRigServer(argc, argv, device);
}
