#pragma once
// A device plugged in for real overlapped pipe I/O under Wine: the pipes served, a link from the
// device path to them, and the device interface in the registry, linked. Stopping unlinks the
// interface first, so the device looks unplugged, then takes the rest away.
#include <string>

#include "PipeSymbolicLink.h"
#include "DeviceRegistration.h"
#include "FrameResponder.h"
#include "PipeServer.h"

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

  private:
    PipeServer server_;
    PipeSymbolicLink link_;
    DeviceRegistration registration_;
};

}  // namespace orvo::piperig
