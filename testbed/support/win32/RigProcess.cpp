#include "RigProcess.h"

namespace orvo::testing {

RigProcess::~RigProcess() {
    if (server_.IsRunning()) {
        Quit();
    }
}

bool RigProcess::Start(const std::string& arguments) {
    std::string line;
    if (!server_.Start(serverProgram_, arguments) || !server_.ReadLine(line) ||
        line.rfind("ready ", 0) != 0) {
        server_.Kill();
        return false;
    }
    devicePath_ = line.substr(6);
    return true;
}

bool RigProcess::Command(const std::string& command) {
    std::string answer;
    return server_.WriteLine(command) && server_.ReadLine(answer) && answer == "ok";
}

std::optional<piperig::PipeCounts> RigProcess::Counts() {
    std::string answer;
    if (!server_.WriteLine("counts") || !server_.ReadLine(answer)) {
        return std::nullopt;
    }
    return piperig::ParsePipeCounts(answer);
}

bool RigProcess::Quit() {
    const bool acknowledged = Command("quit");
    return server_.Finish() == 0 && acknowledged;
}

}  // namespace orvo::testing
