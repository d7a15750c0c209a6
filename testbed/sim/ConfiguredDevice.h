#pragma once
// A simulated device set up from named settings (SimConfig.h) and, when they name an output
// folder, reporting to it: the device as a program outside the test plays it (the simulator
// DLL, the rig server).
#include "OutputFolder.h"
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

private:
    std::unique_ptr<OutputFolder> output_;  // outlives the device that reports to it
    SimulatedDevice device_;
};

}  // namespace orvo::sim
