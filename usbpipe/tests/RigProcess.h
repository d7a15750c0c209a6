#pragma once
// The pipe rig server run as a separate process, as a device that can be plugged in, told to
// stay silent, unplugged, or pulled without notice.
#include <string>

#include "ChildProcess.h"

namespace orvo::usbpipe::testing {

class RigProcess {
  public:
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
    ChildProcess server_;
    std::string devicePath_;
};

}  // namespace orvo::usbpipe::testing
