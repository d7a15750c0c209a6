#pragma once
// A pipe rig server (the rig's own or another built around RunRigServer) run as a separate
// process, as a device that can be plugged in, told to stay silent, unplugged, or pulled
// without notice, and asked what its clients did.
#include <optional>
#include <string>
#include <utility>

#include "ChildProcess.h"
#include "RigOptions.h"

namespace orvo::testing {

class RigProcess {
public:
    // `server` as the build names it.
    explicit RigProcess(std::string server) : serverProgram_(std::move(server)) {}
    ~RigProcess();  // unplugs a device still plugged in

    // Starts the server with `arguments` (its options, quoted where needed) and waits until it
    // reports the device plugged in.
    bool Start(const std::string& arguments = "");
    const std::string& DevicePath() const { return devicePath_; }
    // Sends one command ("silent", "answer") and waits for its acknowledgement.
    bool Command(const std::string& command);
    // Unplugs the device the way the server does on its own: interface unlinked, pipes closed.
    bool Quit();
    // Ends the server at once, leaving the interface registered: a device pulled out.
    void Kill() { server_.Kill(); }
    // What the clients did on the device's pipes since it was plugged in; nothing once it is gone.
    std::optional<piperig::PipeCounts> Counts();
    // Waits until a server that leaves by itself (--unplug-after, --pull-after) has gone.
    bool WaitUntilGone() { return server_.WaitForExit() >= 0; }

private:
    std::string serverProgram_;
    ChildProcess server_;
    std::string devicePath_;
};

}  // namespace orvo::testing
