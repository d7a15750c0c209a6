#pragma once
// orvo: the tool's device jobs from the command line, for production lines and scripts. Each
// command runs the core the window runs (exchange, image rules, upgrade, serial numbering,
// history file, settings, texts) and ends with an exit code of ExitCodes.h.
#include "PipeLibrary.h"
#include "StopRequests.h"

#include <ostream>
#include <string>
#include <vector>

namespace orvo::console {

struct ConsoleStreams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
};

// `args` without the program's name.
int RunOrvo(const std::vector<std::string>& args, PipeLibrary& pipes, ConsoleStreams streams,
            StopRequests& stops);

// A process's main: Ctrl-C, and for a station the end of standard input. `args` without the
// program's name, in UTF-8; `streams` take UTF-8.
int RunOrvoProcess(const std::vector<std::string>& args, PipeLibrary& pipes,
                   ConsoleStreams streams);
// The same on the C++ standard streams, for a main(argc, argv) where the arguments are UTF-8 (the
// native build).
int RunOrvoProcess(int argc, char** argv, PipeLibrary& pipes);

}  // namespace orvo::console
