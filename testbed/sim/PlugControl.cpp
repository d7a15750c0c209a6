#include "PlugControl.h"

#include "SimConfig.h"

#include <fstream>

namespace orvo::sim {
namespace {

constexpr std::chrono::milliseconds kReadInterval{50};

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

}  // namespace

std::optional<PlugLine> ParsePlugLine(std::string_view line, std::vector<std::string>& errors) {
    line = Trimmed(line);
    if (line.empty()) {
        return std::nullopt;
    }
    const std::size_t space = line.find_first_of(" \t");
    PlugLine plugged{std::string(line.substr(0, space)), {}};
    if (space != std::string_view::npos) {
        const std::size_t errorsBefore = errors.size();
        plugged.faults = ParseFaults(Trimmed(line.substr(space)), errors);
        if (errors.size() != errorsBefore) {
            return std::nullopt;
        }
    }
    return plugged;
}

std::shared_ptr<SimulatedDevice> PluggedDevice::Current() {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (now < nextRead_) {
        return device_;
    }
    nextRead_ = now + kReadInterval;
    std::string line = FirstLine(controlFile_);
    if (line == line_) {
        return device_;
    }
    line_ = std::move(line);
    device_.reset();
    std::vector<std::string> errors;
    const auto plugged = ParsePlugLine(line_, errors);
    if (report_) {
        for (const std::string& error : errors) {
            report_(error);
        }
    }
    if (plugged) {
        device_ = std::make_shared<SimulatedDevice>();
        setUp_(*device_);
        device_->SetSerialNumber(plugged->serial);
        for (const Fault& fault : plugged->faults) {
            device_->AddFault(fault);
        }
    }
    return device_;
}

int PluggedDevice::WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    const std::shared_ptr<SimulatedDevice> device = Current();
    return device ? device->WriteData(pipe, data, length, timeoutMs) : -1;
}

int PluggedDevice::ReadData(int pipe, unsigned char* data, int length, int timeoutMs) {
    const std::shared_ptr<SimulatedDevice> device = Current();
    return device ? device->ReadData(pipe, data, length, timeoutMs) : -1;
}

}  // namespace orvo::sim
