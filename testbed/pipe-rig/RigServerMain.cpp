#include "RigServerMain.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "PipeRig.h"
#include "RigOptions.h"
#include "SilenceableResponder.h"

namespace orvo::piperig {

int RunRigServer(int argc, char** argv, FrameResponder& device) {
    const auto options = ParseRigOptions(argc > 0 ? std::vector<std::string>(argv + 1, argv + argc)
                                                  : std::vector<std::string>{});
    if (!options) {
        const std::string program =
            argc > 0 ? std::filesystem::path(argv[0]).stem().string() : "rig-server";
        std::cerr << "usage: " << program << kRigUsage;
        return 2;
    }
    SilenceableResponder responder(device);
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

}  // namespace orvo::piperig
