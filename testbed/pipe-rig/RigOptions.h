#pragma once
// The rig server's command line and the commands it reads, one a line, from standard input.
#include <optional>
#include <string>
#include <vector>

namespace orvo::piperig {

struct RigOptions {
    std::string instanceName = "ORVO_PIPE_RIG";
    bool silent = false;
};

// Nothing when the arguments are not understood.
std::optional<RigOptions> ParseRigOptions(const std::vector<std::string>& arguments);

// What follows the program's name in its usage text.
extern const char kRigUsage[];

enum class RigCommand { Silent, Answer, Quit, Unknown };
RigCommand ParseRigCommand(const std::string& line);

}  // namespace orvo::piperig
