#pragma once
// A simulated device plugged in and out from outside the program, through a control file
// (ORVO_SIM_PLUG): its first line is SERIAL, or SERIAL FAULTS with the faults written as
// ORVO_SIM_FAULTS writes them. A missing or empty file, or a blank line, is no device: every
// call fails at once, as the pipe library does when nothing is plugged in. Each new line plugs
// in a fresh device, whose frames count from its plug-in. The file is read again at most every
// 50 ms, so the thousands of transfers of an upgrade do not each open it.
#include "SimulatedDevice.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::sim {

struct PlugLine {
    std::string serial;
    std::vector<Fault> faults;
};

// The device a line plugs in; nothing for a blank line, or for one with something `errors`
// then names.
std::optional<PlugLine> ParsePlugLine(std::string_view line, std::vector<std::string>& errors);

class PluggedDevice : public PipeLibrary {
public:
    // Sets up each device plugged in, before its serial number and faults are given to it.
    using SetUp = std::function<void(SimulatedDevice&)>;
    // Told each line not understood, as it is read.
    using Report = std::function<void(const std::string& error)>;

    PluggedDevice(std::string controlFile, SetUp setUp, Report report = {})
        : controlFile_(std::move(controlFile)),
          setUp_(std::move(setUp)),
          report_(std::move(report)) {}

    int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) override;
    int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) override;

private:
    std::shared_ptr<SimulatedDevice> Current();

    const std::string controlFile_;
    const SetUp setUp_;
    const Report report_;
    std::mutex mutex_;
    std::string line_;
    std::shared_ptr<SimulatedDevice> device_;
    std::chrono::steady_clock::time_point nextRead_{};
};

}  // namespace orvo::sim
