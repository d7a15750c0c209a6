// A production station: each device plugged in is upgraded (and with --burn given the next
// serial number), then the station waits for it to go before it takes the next one.
#include "ConsoleSession.h"
#include "JsonLine.h"

#include <chrono>
#include <map>

namespace orvo::console {
namespace {

// How often the station asks whether a device is there: command 10, answered or not.
constexpr std::chrono::milliseconds kPollInterval{200};

// A device is there when it answers command 10 at all: one that has just failed may refuse
// what comes next, and is still plugged in. Without a device no reply comes, error code 0.
bool DeviceAnswers(DeviceLink& link) {
    ReplyFrame reply;
    return link.ExchangeCommand(command::kHandshake, CommandPayload{}, reply) > 0 ||
           reply[kErrorCodeOffset] != 0;
}

// Waits until a device is there (`present`) or none is; false when a stop came first.
bool WaitForDevice(ConsoleSession& session, bool present) {
    while (!session.stops.Requested()) {
        if (DeviceAnswers(session.link) == present) {
            return true;
        }
        session.stops.WaitFor(kPollInterval);
    }
    return false;
}

struct Tally {
    int done = 0;
    int failed = 0;
    std::map<std::string, int> causes;  // failures by message key
    int firstFailureCode = kExitDone;
};

void Summarise(ConsoleSession& session, const Tally& tally) {
    if (session.report.Json()) {
        std::string causes = "{";
        for (const auto& [key, count] : tally.causes) {
            causes +=
                (causes.size() > 1 ? "," : "") + JsonQuoted(key) + ":" + std::to_string(count);
        }
        session.report.Event(JsonLine("summary")
                                 .Add("devices", static_cast<long long>(tally.done + tally.failed))
                                 .Add("done", static_cast<long long>(tally.done))
                                 .Add("failed", static_cast<long long>(tally.failed))
                                 .AddJson("causes", causes + "}"));
        return;
    }
    std::string text = "station: " + std::to_string(tally.done + tally.failed) + " devices, " +
                       std::to_string(tally.done) + " done, " + std::to_string(tally.failed) +
                       " failed\n";
    for (const auto& [key, count] : tally.causes) {
        const std::string explained = Utf8(session.view.GetLangText(key));  // none for orvo's own
        text += "  " + key + (explained.empty() ? "" : " " + explained) + ": " +
                std::to_string(count) + "\n";
    }
    session.report.Result(text);
}

}  // namespace

int StationCommand(ConsoleSession& session) {
    Tally tally;
    bool interrupted = false;
    int stopCode = kExitDone;
    session.report.Note(
        "station: waiting for the next device (Ctrl-C or the end of input ends it)");
    while (!interrupted && WaitForDevice(session, true)) {
        DeviceRun run = UpgradeDevice(session);
        if (run.outcome.key.empty() && session.options.burn) {
            BurnNextNumber(session, run);
        }
        const JobOutcome outcome = LogRun(session, run, run.outcome);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - run.start).count();
        const int exitCode = FinishJob(session, outcome, seconds);
        if (outcome.key.empty()) {
            ++tally.done;
        } else {
            ++tally.failed;
            ++tally.causes[outcome.key];
            if (tally.firstFailureCode == kExitDone) {
                tally.firstFailureCode = exitCode;
            }
        }
        interrupted = exitCode == kExitInterrupted;
        // A number the device took and the history did not must be written down before the
        // next device gets one; a history that gives out no number gives none to the next.
        if (run.numberingFailed) {
            stopCode = exitCode;
            break;
        }
        if (!interrupted) {
            session.report.Note("station: unplug the device");
            if (WaitForDevice(session, false)) {
                session.report.Note("station: waiting for the next device");
            }
        }
    }
    Summarise(session, tally);
    if (stopCode != kExitDone) {
        return stopCode;
    }
    return interrupted ? kExitInterrupted : tally.firstFailureCode;
}

}  // namespace orvo::console
