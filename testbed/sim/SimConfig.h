#pragma once
// How a simulated device outside the test's own process (the simulator DLL) is set up: from
// named settings, environment variables in practice.
//   ORVO_SIM_SERIAL      serial number answered to command 6 (default 961990000100)
//   ORVO_SIM_FAULTS      faults, comma-separated, each KIND@FRAME or KIND@FRAME:VALUE, with
//                        FRAME the index of the written frame from 0 and KIND one of
//                        failure-reply (VALUE: error code), wrong-reply-code (VALUE: the code),
//                        no-reply, short-reply (VALUE: bytes), failed-write,
//                        short-write (VALUE: bytes), unplugged;
//                        numbers decimal or 0x hexadecimal: "failure-reply@5:0x20,unplugged@9"
//   ORVO_SIM_LATENCY_US  how long every transfer takes, in microseconds, exactly
//   ORVO_SIM_TIMING      file that gets a line at each end of upgrade: how the upgrade used
//                        the link (LinkTiming.h)
//   ORVO_SIM_PLUG        control file that plugs devices in and out (PlugControl.h): its
//                        line "SERIAL [FAULTS]" is the device plugged in, which then takes
//                        the place of ORVO_SIM_SERIAL and ORVO_SIM_FAULTS; no line, no device
//   ORVO_SIM_OUTPUT      folder that receives traffic.log (a line per transfer, written as it
//                        happens), internal.bin and external.bin (the parts received, written
//                        at each end of upgrade) and serial.txt (each number written).
//                        Under Wine give a Windows path such as Z:\tmp\run.
#include "SimulatedDevice.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::sim {

struct SimConfig {
    std::string serial = kDefaultSerial;
    std::vector<Fault> faults;
    std::chrono::microseconds latency{0};
    std::string outputFolder;         // empty: nothing is written
    std::string timingFile;           // empty: no timing is written
    std::string plugFile;             // empty: the one device is always plugged in
    std::vector<std::string> errors;  // settings that could not be read, and why
};

using SettingLookup = std::function<std::optional<std::string>(const char* name)>;
// The settings of a program's environment, as the C library holds it.
std::optional<std::string> EnvironmentVariable(const char* name);

SimConfig ReadSimConfig(const SettingLookup& lookup);
std::optional<Fault> ParseFault(std::string_view text);
// A comma-separated list of faults; `errors` names each one not understood.
std::vector<Fault> ParseFaults(std::string_view list, std::vector<std::string>& errors);
// The serial number and faults of the configured device; what every device of these settings
// shares (latency, reports) ConfiguredDevice sets.
void Configure(SimulatedDevice& device, const SimConfig& config);

}  // namespace orvo::sim
