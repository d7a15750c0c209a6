#pragma once
// What every command of one run of orvo works with, and the commands themselves.
#include "ConsoleOptions.h"
#include "ConsoleReport.h"
#include "ConsoleView.h"
#include "DeviceLink.h"
#include "RunLog.h"
#include "StopRequests.h"

#include <chrono>
#include <string>

namespace orvo::console {

struct ConsoleSession {
    const ConsoleOptions& options;
    ConsoleReport& report;
    ConsoleView& view;
    DeviceLink& link;
    const StopRequests& stops;
};

// One device upgraded, and with --burn given a number.
struct DeviceRun {
    std::chrono::steady_clock::time_point start;
    std::string serialNumber;  // as read before the job, shown form; empty when unread
    std::string burnedNumber;  // the number the device took; empty when none
    // The numbering failed: no number could be taken, or the device took burnedNumber and the
    // history did not. No further device may be given a number.
    bool numberingFailed = false;
    JobOutcome outcome;
    RunLogLine log;  // what the job found for its log line
};

// Commands 10 and 11, the serial number, the file, its parts, with retries.
DeviceRun UpgradeDevice(ConsoleSession& session);
// The next number burned and recorded (a station's --burn).
void BurnNextNumber(ConsoleSession& session, DeviceRun& run);
// With --log, the run's line; the outcome, which a log that cannot be written changes.
JobOutcome LogRun(ConsoleSession& session, DeviceRun& run, const JobOutcome& outcome);
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
