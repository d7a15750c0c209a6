// pipe-rig-server: plays the pipe device for the pipe library and for technicians' checks.
#include <iostream>
#include <string>
#include <vector>

#include "EchoResponder.h"
#include "PipeRig.h"
#include "RigOptions.h"

using namespace orvo::piperig;

int main(int argc, char** argv) {
    const auto options = ParseRigOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::cerr << kRigUsage;
        return 2;
    }
    EchoResponder responder;
    responder.SetSilent(options->silent);
    PipeRig rig(options->instanceName, responder);
    std::string failure;
    if (!rig.Start(failure)) {
        std::cout << "failed: " << failure << std::endl;
        return 1;
    }
    std::cout << "ready " << rig.DevicePath() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        switch (ParseRigCommand(line)) {
            case RigCommand::Silent:
                responder.SetSilent(true);
                break;
            case RigCommand::Answer:
                responder.SetSilent(false);
                break;
            case RigCommand::Quit:
                rig.Stop();
                std::cout << "ok" << std::endl;
                return 0;
            case RigCommand::Unknown:
                std::cout << "unknown command: " << line << std::endl;
                continue;
        }
        std::cout << "ok" << std::endl;
    }
    return 0;
}
