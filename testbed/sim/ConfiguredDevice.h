#pragma once
// A simulated device set up from named settings (SimConfig.h) and, when they name an output
// folder, reporting to it: the device as a program outside the test plays it (the simulator
// DLL, the rig server, orvo on the simulated device).
#include "OutputFolder.h"
#include "PlugControl.h"
#include "SimConfig.h"
#include "SimulatedDevice.h"

#include <memory>

namespace orvo::sim {

class ConfiguredDevice {
public:
    explicit ConfiguredDevice(const SettingLookup& lookup);
    ConfiguredDevice(const ConfiguredDevice&) = delete;
    ConfiguredDevice& operator=(const ConfiguredDevice&) = delete;

    SimulatedDevice& Device() { return device_; }
    // The pipes of whatever device is plugged in: the control file's when ORVO_SIM_PLUG names
    // one, else Device().
    PipeLibrary& Pipes() { return plugged_ ? static_cast<PipeLibrary&>(*plugged_) : device_; }

private:
    // What every device of these settings shares: latency, reports, and no traffic kept.
    void SetUp(SimulatedDevice& device) const;

    SimConfig config_;
    std::unique_ptr<OutputFolder> output_;  // outlives the devices that report to it
    SimulatedDevice device_;
    std::unique_ptr<PluggedDevice> plugged_;
};

}  // namespace orvo::sim
