// sim-rig-server: plays the pipe device with the simulated device, set up from the ORVO_SIM_*
// environment variables as the simulator DLL is.
#include "ConfiguredDevice.h"
#include "PipeLibraryResponder.h"
#include "RigServerMain.h"

int main(int argc, char** argv) {
    orvo::sim::ConfiguredDevice simulated(orvo::sim::EnvironmentVariable);
    orvo::piperig::PipeLibraryResponder device(simulated.Pipes());
    return orvo::piperig::RunRigServer(argc, argv, device);
}
