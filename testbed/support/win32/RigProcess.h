#pragma once
// A pipe rig server (the rig's own or another built around RunRigServer) run as a separate
// process, as a device that can be plugged in, told to stay silent, unplugged, or pulled
// without notice.
#include <string>
#include <utility>

#include "ChildProcess.h"

namespace orvo::testing {

class RigProcess {
public:
    // `server` as the build names it.
    explicit RigProcess(std::string server) : serverProgram_(std::move(server)) {}
    ~RigProcess();  // unplugs a device still plugged in

    // Starts the server and waits until it reports the device plugged in.
    bool Start();
    const std::string& DevicePath() const { return devicePath_; }
    // Sends one command ("silent", "answer") and waits for its acknowledgement.
    bool Command(const std::string& command);
    // Unplugs the device the way the server does on its own: interface unlinked, pipes closed.
    bool Quit();
    // Ends the server at once, leaving the interface registered: a device pulled out.
    void Kill() { server_.Kill(); }

private:
    std::string serverProgram_;
    ChildProcess server_;
    std::string devicePath_;
};

}  // namespace orvo::testing
