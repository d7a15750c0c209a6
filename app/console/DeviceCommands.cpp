// The commands on one device: upgrade, read-sn, write-sn; and inspect, on a file.
#include "ConsoleSession.h"
#include "DurableFile.h"
#include "ImageReport.h"
#include "RunLog.h"
#include "SerialNumber.h"
#include "SerialProgramming.h"
#include "Sha256.h"
#include "TextKeys.h"
#include "UpgradeTransfer.h"

#include <chrono>
#include <cstring>

namespace orvo::console {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

using SerialBuffer = std::uint8_t[kSerialLength + 2];

// The greeting, then the serial number (command 6), as the window starts every job.
bool GreetAndReadSerial(ConsoleSession& session, SerialBuffer& serial) {
    session.link.Greet();
    return session.link.ReadDeviceSerial(serial) == 1;
}

std::string SerialText(const SerialBuffer& serial) {
    const char* text = reinterpret_cast<const char*>(serial);
    return std::string(text, strnlen(text, kSerialLength));
}

// The file CONFIG.INI names for this device.
std::optional<std::string> ChooseImage(ConsoleSession& session, const SerialBuffer& serial) {
    std::optional<std::string> path = UpgradeFilePath(TakesAlternativeFile(serial));
    if (!path) {
        session.view.Fail(text::kConfigUnreadable, kExitFiles);
    }
    return path;
}

// The file read and checked against the image rules before any frame goes out.
bool LoadImage(ConsoleSession& session, const std::string& path, UpgradeFile& file) {
    switch (ReadUpgradeFile(path, file)) {
        case UpgradeFileRead::kRead:
            return true;
        case UpgradeFileRead::kUnreadable:
            session.view.Fail(text::kUpgradeFileUnusable, kExitFiles, "cannot read " + path);
            return false;
        case UpgradeFileRead::kRefused:
            session.view.Fail(text::kUpgradeFileUnusable, kExitImageRefused,
                              path + " is refused: " + ImageFaultReason(file.layout.fault));
            return false;
    }
    return false;
}

// The device expects a failed upgrade to start again from the start command.
void SendWithRetries(ConsoleSession& session, UpgradeFile& file) {
    const int attempts = 1 + session.options.retries;
    for (int attempt = 1;; ++attempt) {
        if (SendUpgrade(session.link, PartChoice{true, true}, session.view, file)) {
            return;
        }
        const ExitCode failure = session.view.Outcome().exitCode;
        if (attempt == attempts || failure == kExitInterrupted || failure == kExitImageRefused) {
            return;
        }
        session.report.Note("starting the upgrade again, attempt " + std::to_string(attempt + 1) +
                            " of " + std::to_string(attempts));
        session.view.BeginJob();
    }
}

void LogRun(ConsoleSession& session, const DeviceRun& run, const RunLogLine& partial) {
    RunLogLine line = partial;
    line.utcTime = UtcTimeNow();
    line.serialNumber = run.serialNumber;
    line.result = run.outcome.key.empty() ? text::kUpgradeDone : run.outcome.key;
    line.deviceErrorCode = run.outcome.errorCode;
    line.windowsError = run.outcome.windowsError;
    if (!AppendRunLog(session.options.log, line)) {
        session.view.Fail(
            "log", kExitFiles,
            "the run log " + session.options.log + " cannot be written; this run is not in it");
    }
}

}  // namespace

DeviceRun UpgradeDevice(ConsoleSession& session) {
    const Clock::time_point start = Clock::now();
    session.view.BeginJob();
    DeviceRun run;
    RunLogLine logLine;
    SerialBuffer serial = {};
    TransferKit kit;
    UpgradeFile file(kit);
    const std::string& named = session.options.image;
    // A file named on the command line is checked before the device is even greeted.
    if ((named.empty() || LoadImage(session, named, file)) && GreetAndReadSerial(session, serial)) {
        run.serialNumber = SerialText(serial);
        session.report.SerialNumber(run.serialNumber, false);
        const std::optional<std::string> path =
            named.empty() ? ChooseImage(session, serial) : named;
        if (path && (!named.empty() || LoadImage(session, *path, file))) {
            logLine.imageFile = *path;
            // Summed from its start before the send, which then seeks to each part; a file that
            // cannot be read to its end fails the send too, which says so.
            file.stream.seekg(0);
            logLine.imageSha256 = Sha256Hex(file.stream).value_or("");
            SendWithRetries(session, file);
        }
    }
    run.outcome = session.view.Outcome();
    if (!session.options.log.empty()) {
        logLine.seconds = SecondsSince(start);
        LogRun(session, run, logLine);
        run.outcome = session.view.Outcome();
    }
    return run;
}

JobOutcome BurnNextNumber(ConsoleSession& session) {
    const std::string number = ProposedSerialNumber();
    switch (BurnAndRecordSerialNumber(session.link, session.view, number)) {
        case BurnResult::kBurned:
            session.report.Note("serial number " + number + " burned and recorded");
            break;
        case BurnResult::kUnrecorded:
            session.view.Record(text::kSerialUnrecorded, -1, kExitFiles);
            break;
        case BurnResult::kFailed:
            break;
    }
    return session.view.Outcome();
}

int FinishJob(ConsoleSession& session, const JobOutcome& outcome, double seconds) {
    const int exitCode = outcome.key.empty() ? kExitDone : outcome.exitCode;
    session.report.Finished(outcome.key, outcome.errorCode, outcome.windowsError, exitCode, seconds);
    return exitCode;
}

int UpgradeCommand(ConsoleSession& session) {
    const Clock::time_point start = Clock::now();
    const DeviceRun run = UpgradeDevice(session);
    return FinishJob(session, run.outcome, SecondsSince(start));
}

int ReadSerialCommand(ConsoleSession& session) {
    const Clock::time_point start = Clock::now();
    session.view.BeginJob();
    SerialBuffer serial = {};
    if (GreetAndReadSerial(session, serial)) {
        session.report.SerialNumber(SerialText(serial), true);
    }
    return FinishJob(session, session.view.Outcome(), SecondsSince(start));
}

int WriteSerialCommand(ConsoleSession& session) {
    const Clock::time_point start = Clock::now();
    session.view.BeginJob();
    const std::string number =
        session.options.number.empty() ? ProposedSerialNumber() : session.options.number;
    if (!IsValidSerialNumber(number)) {
        session.view.Fail(text::kSerialNotTwelveDigits, kExitSerialNumber,
                          "\"" + number + "\" is not 12 digits; nothing was sent");
    } else {
        session.link.Greet();
        const BurnResult burned = BurnAndRecordSerialNumber(session.link, session.view, number);
        if (burned != BurnResult::kFailed) {
            session.report.SerialNumber(number, true);
        }
        if (burned == BurnResult::kUnrecorded) {
            session.view.Record(text::kSerialUnrecorded, -1, kExitFiles);
        }
    }
    return FinishJob(session, session.view.Outcome(), SecondsSince(start));
}

int InspectCommand(const ConsoleOptions& options, ConsoleReport& report) {
    const std::optional<std::string> bytes = ReadWholeFile(options.file);
    if (!bytes) {
        report.Note("cannot read " + options.file);
        return kExitFiles;
    }
    const ImageReport inspected =
        InspectImage(std::vector<std::uint8_t>(bytes->begin(), bytes->end()));
    report.Result(inspected.text);
    return inspected.accepted ? kExitDone : kExitImageRefused;
}

}  // namespace orvo::console
