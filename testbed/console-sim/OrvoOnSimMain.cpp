// orvo built natively on the simulated device, set up as the simulator DLL is (ORVO_SIM_*):
// the command line tried end to end without Wine.
#include "ConfiguredDevice.h"
#include "Orvo.h"

int main(int argc, char** argv) {
    orvo::sim::ConfiguredDevice device(orvo::sim::EnvironmentVariable);
    return orvo::console::RunOrvoProcess(argc, argv, device.Pipes());
}
