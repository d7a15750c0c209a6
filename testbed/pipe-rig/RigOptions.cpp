#include "RigOptions.h"

#include <algorithm>
#include <cctype>

namespace orvo::piperig {

const char kRigUsage[] =
    " [--name NAME] [--silent]\n"
    "  Plays the pipe device: registers the device interface ROOT\\NAME (default ORVO_PIPE_RIG),\n"
    "  links its device path to the named pipes PIPE00 to PIPE13 and answers the frames\n"
    "  written to them. --silent starts it answering nothing.\n"
    "  Prints \"ready <device path>\" once plugged in. Reads commands from standard input, one a\n"
    "  line, each acknowledged with \"ok\": silent, answer, quit. The end of input quits too.\n";

std::optional<RigOptions> ParseRigOptions(const std::vector<std::string>& arguments) {
    RigOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--silent") {
            options.silent = true;
        } else if (arguments[i] == "--name" && i + 1 < arguments.size() &&
                   !arguments[i + 1].empty()) {
            options.instanceName = arguments[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

RigCommand ParseRigCommand(const std::string& line) {
    std::string word;
    std::copy_if(line.begin(), line.end(), std::back_inserter(word),
                 [](unsigned char c) { return !std::isspace(c); });
    if (word == "silent") {
        return RigCommand::Silent;
    }
    if (word == "answer") {
        return RigCommand::Answer;
    }
    if (word == "quit") {
        return RigCommand::Quit;
    }
    return RigCommand::Unknown;
}

}  // namespace orvo::piperig
