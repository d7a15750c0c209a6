#include "SimConfig.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace orvo::sim {
namespace {

constexpr std::pair<const char*, FaultKind> kFaultNames[] = {
    {"failure-reply", FaultKind::kFailureReply}, {"wrong-reply-code", FaultKind::kWrongReplyCode},
    {"no-reply", FaultKind::kNoReply},           {"short-reply", FaultKind::kShortReply},
    {"failed-write", FaultKind::kFailedWrite},   {"short-write", FaultKind::kShortWrite},
    {"unplugged", FaultKind::kUnplugged},
};

std::optional<long long> ParseNumber(std::string_view text) {
    const std::string digits(text);
    if (digits.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(digits.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value < 0 || value > INT32_MAX) {
        return std::nullopt;
    }
    return value;
}

std::optional<FaultKind> ParseFaultKind(std::string_view name) {
    for (const auto& [known, kind] : kFaultNames) {
        if (name == known) {
            return kind;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<Fault> ParseFaults(std::string_view list, std::vector<std::string>& errors) {
    std::vector<Fault> faults;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        if (const auto fault = ParseFault(item)) {
            faults.push_back(*fault);
        } else {
            errors.push_back("fault not understood: " + std::string(item));
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return faults;
}

std::optional<Fault> ParseFault(std::string_view text) {
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto kind = ParseFaultKind(text.substr(0, at));
    const std::string_view place = text.substr(at + 1);
    const std::size_t colon = place.find(':');
    const auto frame = ParseNumber(place.substr(0, colon));
    std::optional<long long> value = -1;
    if (colon != std::string_view::npos) {
        value = ParseNumber(place.substr(colon + 1));
    }
    if (!kind || !frame || !value) {
        return std::nullopt;
    }
    return Fault{*kind, static_cast<int>(*frame), static_cast<int>(*value)};
}

std::optional<std::string> EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

SimConfig ReadSimConfig(const SettingLookup& lookup) {
    SimConfig config;
    if (const auto serial = lookup("ORVO_SIM_SERIAL")) {
        config.serial = *serial;
    }
    if (const auto faults = lookup("ORVO_SIM_FAULTS")) {
        config.faults = ParseFaults(*faults, config.errors);
    }
    if (const auto latency = lookup("ORVO_SIM_LATENCY_US")) {
        if (const auto micros = ParseNumber(*latency)) {
            config.latency = std::chrono::microseconds(*micros);
        } else {
            config.errors.push_back("latency not understood: " + *latency);
        }
    }
    if (const auto folder = lookup("ORVO_SIM_OUTPUT")) {
        config.outputFolder = *folder;
    }
    if (const auto file = lookup("ORVO_SIM_TIMING")) {
        config.timingFile = *file;
    }
    if (const auto file = lookup("ORVO_SIM_PLUG")) {
        config.plugFile = *file;
    }
    return config;
}

void Configure(SimulatedDevice& device, const SimConfig& config) {
    device.SetSerialNumber(config.serial);
    for (const Fault& fault : config.faults) {
        device.AddFault(fault);
    }
}

}  // namespace orvo::sim
