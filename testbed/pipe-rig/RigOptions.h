#pragma once
// The rig server's command line and the commands it reads, one a line, from standard input.
#include <optional>
#include <string>
#include <vector>

namespace orvo::piperig {

// How the device goes away by itself after a number of frames (--unplug-after, --pull-after).
enum class Leaving {
    Stays,
    Unplugged,  // the interface unlinked first, then the link and the pipes go: a clean unplug
    Pulled,     // the link and the pipes go, the interface stays listed: a cable pulled out
};

struct RigOptions {
    std::string instanceName = "ORVO_PIPE_RIG";
    bool silent = false;
    Leaving leaving = Leaving::Stays;
    long framesBeforeLeaving = 0;  // frames that reach the device before it goes
};

// Nothing when the arguments are not understood.
std::optional<RigOptions> ParseRigOptions(const std::vector<std::string>& arguments);

// What follows the program's name in its usage text.
extern const char kRigUsage[];

enum class RigCommand { Silent, Answer, Counts, Quit, Unknown };
RigCommand ParseRigCommand(const std::string& line);

// What the clients did on the pipes PIPE00 to PIPE13 since the server started: pipe opens and
// closes, frames written (each one write transfer) and replies read (each one read transfer);
// and opens of the device's own path, which a device search makes.
struct PipeCounts {
    long opens = 0;
    long closes = 0;
    long writes = 0;
    long reads = 0;
    long deviceOpens = 0;
};

// The answer to "counts": "counts opens 3 closes 0 writes 520 reads 520 device-opens 1".
std::string FormatPipeCounts(const PipeCounts& counts);
std::optional<PipeCounts> ParsePipeCounts(const std::string& line);

}  // namespace orvo::piperig
