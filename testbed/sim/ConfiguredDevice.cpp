#include "ConfiguredDevice.h"

#include <fstream>

namespace orvo::sim {

ConfiguredDevice::ConfiguredDevice(const SettingLookup& lookup) : config_(ReadSimConfig(lookup)) {
    if (!config_.outputFolder.empty()) {
        output_ = std::make_unique<OutputFolder>(config_.outputFolder, config_.errors);
    }
    Configure(device_, config_);
    SetUp(device_);
    if (!config_.plugFile.empty()) {
        // A bad line is found while the program runs, so its note joins the traffic log there.
        plugged_ = std::make_unique<PluggedDevice>(
            config_.plugFile, [this](SimulatedDevice& device) { SetUp(device); },
            [this](const std::string& error) {
                if (output_) {
                    output_->Note(error);
                }
            });
    }
}

void ConfiguredDevice::SetUp(SimulatedDevice& device) const {
    device.SetLatency(config_.latency);
    device.KeepTraffic(false);
    device.SetEvents(output_.get());
    if (!config_.timingFile.empty()) {
        device.SetTimingReport([file = config_.timingFile](const LinkTiming& timing) {
            std::ofstream(file, std::ios::app) << FormatLinkTiming(timing) << '\n';
        });
    }
}

}  // namespace orvo::sim
