// The commands on one device: upgrade, read-sn, write-sn.
#include "ConsoleSession.h"
#include "ImageReport.h"
#include "RunLog.h"
#include "SerialNumber.h"
#include "SerialProgramming.h"
#include "TextCodec.h"
#include "TextKeys.h"
#include "UpgradeTransfer.h"

#include <chrono>
#include <cstdio>

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

// The number as it may be shown and logged: the 12 digits, or, for any other bytes the device
// sent, "?" and the bytes in hex, so that no control byte reaches a terminal or a log.
std::string SerialText(const SerialBuffer& serial) {
    const std::string bytes(reinterpret_cast<const char*>(serial), kSerialLength);
    if (IsValidSerialNumber(bytes)) {
        return bytes;
    }
    std::string hex = "?";
    for (const std::uint8_t byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        hex += digits;
    }
    return hex;
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
        case UpgradeFileRead::kNotApproved:
            session.view.ReportFailure(text::kImageNotApproved, {FromUtf8(path)});
            session.report.Note(path + " has SHA-256 " + file.sha256 + ", which " +
                                file.approvals.file.u8string() + " does not list");
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

}  // namespace

JobOutcome LogRun(ConsoleSession& session, DeviceRun& run, const JobOutcome& outcome) {
    if (session.options.log.empty()) {
        return outcome;
    }
    RunLogLine& line = run.log;
    line.utcTime = UtcTimeNow();
    line.serialNumber = run.serialNumber;
    line.burnedSerialNumber = run.burnedNumber;
    line.result = outcome.key.empty() ? text::kUpgradeDone : outcome.key;
    line.deviceErrorCode = outcome.errorCode;
    line.windowsError = outcome.windowsError;
    line.seconds = SecondsSince(run.start);
    if (!AppendRunLog(session.options.log, line)) {
        session.view.Fail(
            "log", kExitFiles,
            "the run log " + session.options.log + " cannot be written; this run is not in it");
    }
    return session.view.Outcome();
}

DeviceRun UpgradeDevice(ConsoleSession& session) {
    session.view.BeginJob();
    DeviceRun run;
    run.start = Clock::now();
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
            run.log.imageFile = *path;
            // Summed before the send, which then seeks to each part; a file that cannot be read
            // to its end fails the send too, which says so.
            run.log.imageSha256 = UpgradeFileSha256(file).value_or("");
            SendWithRetries(session, file);
        }
    }
    run.outcome = session.view.Outcome();
    return run;
}

void BurnNextNumber(ConsoleSession& session, DeviceRun& run) {
    const Burn burn = BurnNumber(session.link, session.view, {});
    const bool unrecorded = burn.result == BurnResult::kUnrecorded;
    run.numberingFailed = unrecorded || burn.result == BurnResult::kNotTaken;
    if (burn.result == BurnResult::kBurned || unrecorded) {
        run.burnedNumber = burn.number;
    }
    if (burn.result == BurnResult::kBurned) {
        session.report.Note("serial number " + burn.number + " burned and recorded");
    }
    run.outcome = session.view.Outcome();
}

int FinishJob(ConsoleSession& session, const JobOutcome& outcome, double seconds) {
    const int exitCode = outcome.key.empty() ? kExitDone : outcome.exitCode;
    session.report.Finished(outcome.key, outcome.errorCode, outcome.windowsError, exitCode,
                            seconds);
    return exitCode;
}

int UpgradeCommand(ConsoleSession& session) {
    DeviceRun run = UpgradeDevice(session);
    const JobOutcome outcome = LogRun(session, run, run.outcome);
    return FinishJob(session, outcome, SecondsSince(run.start));
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
    const std::string& number = session.options.number;
    if (!number.empty() && !IsValidSerialNumber(number)) {
        session.view.Fail(text::kSerialNotTwelveDigits, kExitSerialNumber,
                          "\"" + number + "\" is not 12 digits; nothing was sent");
    } else {
        const Burn burn =
            BurnNumber(session.link, session.view, {number, session.options.again, true});
        if (burn.result == BurnResult::kBurned || burn.result == BurnResult::kUnrecorded) {
            session.report.SerialNumber(burn.number, true);
        }
    }
    return FinishJob(session, session.view.Outcome(), SecondsSince(start));
}

}  // namespace orvo::console
