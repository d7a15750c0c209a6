#include "RigServerMain.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "PipeRig.h"
#include "RigOptions.h"
#include "SilenceableResponder.h"

namespace orvo::piperig {

namespace {

// Lets a number of frames reach the device, then, at the next one, runs `leave`, which does not
// return: that frame and every later one never reach the device.
class LeavingResponder : public FrameResponder {
public:
    LeavingResponder(FrameResponder& device, const RigOptions& options, std::function<void()> leave)
        : device_(device), options_(options), leave_(std::move(leave)) {}

    std::optional<DeviceReply> OnFrame(int pipe, const Bytes& frame) override {
        if (options_.leaving != Leaving::Stays && seen_++ >= options_.framesBeforeLeaving) {
            leave_();
        }
        return device_.OnFrame(pipe, frame);
    }

private:
    FrameResponder& device_;
    const RigOptions& options_;
    std::function<void()> leave_;
    long seen_ = 0;
};

}  // namespace

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
    PipeRig* plugged = nullptr;
    LeavingResponder leaving(responder, *options, [&] {
        // The pipes, their clients' handles and the link end with the process, as a device's
        // handles end with its removal; a pulled device's interface stays listed.
        if (options->leaving == Leaving::Unplugged) {
            plugged->Unlink();
        }
        std::cout << "gone" << std::endl;
        TerminateProcess(GetCurrentProcess(), 0);
    });
    PipeRig rig(options->instanceName, leaving);
    plugged = &rig;
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
            case RigCommand::Counts:
                std::cout << FormatPipeCounts(rig.Counts()) << std::endl;
                continue;
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
