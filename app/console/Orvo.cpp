#include "Orvo.h"

#include "ConsoleSession.h"
#include "ConsoleTexts.h"
#include "OrvoVersion.h"
#include "SettingsFiles.h"

#include <unistd.h>
#include <cstdio>
#include <iostream>

namespace orvo::console {
namespace {

int RunCommand(ConsoleSession& session) {
    switch (session.options.command) {
        case Command::kUpgrade:
            return UpgradeCommand(session);
        case Command::kReadSn:
            return ReadSerialCommand(session);
        case Command::kWriteSn:
            return WriteSerialCommand(session);
        case Command::kStation:
            return StationCommand(session);
        default:
            return kExitUsage;
    }
}

}  // namespace

int RunOrvo(const std::vector<std::string>& args, PipeLibrary& pipes, ConsoleStreams streams,
            StopRequests& stops) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    const ConsoleOptions& options = parsed.options;
    if (!parsed.error.empty()) {
        streams.err << "orvo: " << parsed.error << "\n\n" << UsageText();
        return kExitUsage;
    }
    if (options.command == Command::kHelp) {
        streams.out << UsageText();
        return kExitDone;
    }
    if (options.command == Command::kVersion) {
        streams.out << "orvo " << ORVO_VERSION_TEXT << "\n";
        return kExitDone;
    }
    ConsoleReport report(streams.out, streams.err, options.json, streams.errIsTerminal);
    if (options.command == Command::kInspect) {
        return InspectCommand(options, report);
    }
    if (options.command == Command::kApprove) {
        return ApproveCommand(options, report);
    }

    settings::UseSettingsFiles(options.config, options.texts);
    ConsoleTexts texts;
    if (const std::string note = texts.Load(options.lang); !note.empty()) {
        report.Note(note);
    }
    InterruptiblePipes interruptible(pipes, stops);
    ConsoleView view(report, texts, stops);
    DeviceLink link(interruptible, view);
    view.TakeWindowsErrorsFrom(link);
    ConsoleSession session{options, report, view, link, stops};
    report.Started(CommandName(options.command));
    return RunCommand(session);
}

int RunOrvoProcess(const std::vector<std::string>& args, PipeLibrary& pipes,
                   ConsoleStreams streams) {
    static StopRequests stops;
    CatchInterrupts(stops);
    if (!args.empty() && args[0] == "station") {
        StopAtEndOfInput(stops);
    }
    const int exitCode = RunOrvo(args, pipes, streams, stops);
    streams.out.flush();
    streams.err.flush();
    return exitCode;
}

int RunOrvoProcess(int argc, char** argv, PipeLibrary& pipes) {
    return RunOrvoProcess(std::vector<std::string>(argv + 1, argv + argc), pipes,
                          {std::cout, std::cerr, isatty(fileno(stderr)) != 0});
}

}  // namespace orvo::console
