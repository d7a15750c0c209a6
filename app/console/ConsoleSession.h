#pragma once
// What every command of one run of orvo works with, and the commands themselves.
#include "ConsoleOptions.h"
#include "ConsoleReport.h"
#include "ConsoleView.h"
#include "DeviceLink.h"
#include "StopRequests.h"

#include <string>

namespace orvo::console {

struct ConsoleSession {
    const ConsoleOptions& options;
    ConsoleReport& report;
    ConsoleView& view;
    DeviceLink& link;
    const StopRequests& stops;
};

// One device upgraded: its serial number (empty when unread) and how it ended.
struct DeviceRun {
    std::string serialNumber;
    JobOutcome outcome;
};

// Commands 10 and 11, the serial number, the file, its parts, with retries and the log line.
DeviceRun UpgradeDevice(ConsoleSession& session);
// The next number of the number file burned and recorded (a station's --burn).
JobOutcome BurnNextNumber(ConsoleSession& session);
// Reports the end of a job; its exit code.
int FinishJob(ConsoleSession& session, const JobOutcome& outcome, double seconds);

int UpgradeCommand(ConsoleSession& session);
int ReadSerialCommand(ConsoleSession& session);
int WriteSerialCommand(ConsoleSession& session);
// The commands on files, which need no device nor settings.
int InspectCommand(const ConsoleOptions& options, ConsoleReport& report);
int ApproveCommand(const ConsoleOptions& options, ConsoleReport& report);
int StationCommand(ConsoleSession& session);

}  // namespace orvo::console
