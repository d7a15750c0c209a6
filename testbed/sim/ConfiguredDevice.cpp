#include "ConfiguredDevice.h"

#include <fstream>

namespace orvo::sim {

ConfiguredDevice::ConfiguredDevice(const SettingLookup& lookup) {
    const SimConfig config = ReadSimConfig(lookup);
    Configure(device_, config);
    device_.KeepTraffic(false);
    if (!config.outputFolder.empty()) {
        output_ = std::make_unique<OutputFolder>(config.outputFolder, config.errors);
        device_.SetEvents(output_.get());
    }
    if (!config.timingFile.empty()) {
        device_.SetTimingReport([file = config.timingFile](const LinkTiming& timing) {
            std::ofstream(file, std::ios::app) << FormatLinkTiming(timing) << '\n';
        });
    }
}

}  // namespace orvo::sim
