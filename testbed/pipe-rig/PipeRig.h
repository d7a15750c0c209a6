#pragma once
// A device plugged in for real overlapped pipe I/O under Wine: the pipes served, a link from the
// device's path to the named-pipe device, and the device interface in the registry, linked.
// The interface's reference string is the instance name, so the device path ends in \<name>:
// opening it opens the pipe \\.\pipe\<name>, and <device path>\PIPEnn the pipe
// \\.\pipe\<name>\PIPEnn. Servers of different names are different devices in one prefix. Stopping
// unlinks the interface first, so the device looks unplugged, then takes the rest away.
#include <string>

#include "DeviceRegistration.h"
#include "FrameResponder.h"
#include "PipeServer.h"
#include "PipeSymbolicLink.h"

namespace orvo::piperig {

class PipeRig {
public:
    PipeRig(std::string instanceName, FrameResponder& responder);
    ~PipeRig();
    PipeRig(const PipeRig&) = delete;
    PipeRig& operator=(const PipeRig&) = delete;

    // Plugs the device in; on failure the step that failed is named and nothing stays behind.
    bool Start(std::string& failure);
    void Stop();

    std::string DevicePath() const { return registration_.DevicePath(); }
    PipeCounts Counts() const { return server_.Counts(); }
    // Only the interface unlinked: the first step of Stop, for a server that then ends at once.
    void Unlink() { registration_.Unlink(); }

private:
    std::string pipeFolder_;  // the instance name
    PipeServer server_;
    PipeSymbolicLink link_;
    DeviceRegistration registration_;
};

}  // namespace orvo::piperig
