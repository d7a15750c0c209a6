#pragma once
// The pipe rig server run as a separate process, as a device that can be plugged in, told to
// stay silent, unplugged, or pulled without notice.
#include <string>
#include <vector>

#include "OwnedHandle.h"

namespace orvo::usbpipe::testing {

class RigProcess {
  public:
    RigProcess() = default;
    ~RigProcess();  // quits a server still running
    RigProcess(const RigProcess&) = delete;
    RigProcess& operator=(const RigProcess&) = delete;

    // Starts the server and waits until it reports the device plugged in.
    bool Start();
    const std::string& DevicePath() const { return devicePath_; }
    // Sends one command ("silent", "answer") and waits for its acknowledgement.
    bool Command(const std::string& command);
    // Unplugs the device the way the server does on its own: interface unlinked, pipes closed.
    bool Quit();
    // Ends the server at once, leaving the interface registered: a device pulled out.
    void Kill();

  private:
    bool ReadLine(std::string& line);
    void Forget();

    piperig::OwnedHandle process_;
    piperig::OwnedHandle toServer_;
    piperig::OwnedHandle fromServer_;
    std::string pending_;
    std::string devicePath_;
};

}  // namespace orvo::usbpipe::testing
