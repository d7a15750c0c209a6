#pragma once
// Writes what a simulated device sees into a folder, for tests that watch it from outside the
// process: traffic.log, internal.bin, external.bin and serial.txt (see SimConfig.h).
#include "SimulatedDevice.h"

#include <fstream>
#include <string>
#include <vector>

namespace orvo::sim {

class OutputFolder : public DeviceEvents {
public:
    // Starts a new traffic log; its first lines are `notes` (settings that were not understood).
    OutputFolder(std::string folder, const std::vector<std::string>& notes);

    // A setting not understood later, such as a plug line: a note among the traffic.
    void Note(const std::string& note);

    void OnTransfer(const Transfer& transfer) override;
    void OnUpgradeEnded(const std::vector<std::uint8_t>& internal,
                        const std::vector<std::uint8_t>& external) override;
    void OnSerialWritten(const std::string& serial) override;

private:
    void WriteFile(const char* name, const char* bytes, std::size_t count) const;

    std::string folder_;
    std::ofstream log_;
};

}  // namespace orvo::sim
