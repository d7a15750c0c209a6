#include "RigOptions.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace orvo::piperig {

const char kRigUsage[] =
    " [--name NAME] [--silent] [--unplug-after FRAMES | --pull-after FRAMES]\n"
    "  Plays the pipe device: registers the device interface ROOT\\NAME (default ORVO_PIPE_RIG)\n"
    "  with the reference string NAME, links its device path to the named pipes NAME\\PIPE00 to\n"
    "  NAME\\PIPE13 and answers the frames written to them. --silent starts it answering nothing.\n"
    "  --unplug-after and --pull-after let FRAMES frames reach the device, then it goes at the\n"
    "  next one: unplugged (interface unlinked) or pulled out (interface left listed).\n"
    "  Prints \"ready <device path>\" once plugged in. Reads commands from standard input, one a\n"
    "  line, each acknowledged with \"ok\": silent, answer, quit; counts answers with what the\n"
    "  clients did. The end of input quits too.\n";

namespace {

std::optional<long> FrameCount(const std::string& text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(),
                                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return std::nullopt;
    }
    return text.size() > 9 ? std::nullopt : std::optional<long>(std::stol(text));
}

}  // namespace

std::optional<RigOptions> ParseRigOptions(const std::vector<std::string>& arguments) {
    RigOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--silent") {
            options.silent = true;
        } else if (argument == "--name" && hasValue && !arguments[i + 1].empty()) {
            options.instanceName = arguments[++i];
        } else if ((argument == "--unplug-after" || argument == "--pull-after") && hasValue &&
                   options.leaving == Leaving::Stays) {
            const auto frames = FrameCount(arguments[++i]);
            if (!frames) {
                return std::nullopt;
            }
            options.leaving = argument == "--pull-after" ? Leaving::Pulled : Leaving::Unplugged;
            options.framesBeforeLeaving = *frames;
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
    if (word == "counts") {
        return RigCommand::Counts;
    }
    if (word == "quit") {
        return RigCommand::Quit;
    }
    return RigCommand::Unknown;
}

std::string FormatPipeCounts(const PipeCounts& counts) {
    return "counts opens " + std::to_string(counts.opens) + " closes " +
           std::to_string(counts.closes) + " writes " + std::to_string(counts.writes) + " reads " +
           std::to_string(counts.reads) + " device-opens " + std::to_string(counts.deviceOpens);
}

std::optional<PipeCounts> ParsePipeCounts(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    PipeCounts counts;
    if (!(in >> word) || word != "counts") {
        return std::nullopt;
    }
    const std::pair<const char*, long*> fields[] = {{"opens", &counts.opens},
                                                    {"closes", &counts.closes},
                                                    {"writes", &counts.writes},
                                                    {"reads", &counts.reads},
                                                    {"device-opens", &counts.deviceOpens}};
    for (const auto& [name, value] : fields) {
        if (!(in >> word) || word != name || !(in >> *value)) {
            return std::nullopt;
        }
    }
    return counts;
}

}  // namespace orvo::piperig
