#pragma once
// A device behind the two pipe calls (the simulated device in practice) put behind the rig's
// pipes: each frame is written to it on the pipe it came on, then its reply is read at once
// from pipe 0, as the tool reads it, and waits there for the client.
//
// A client's write over the pipes cannot fail the way the device makes it fail: when the device
// takes less than the whole frame (its failed or short write), nothing is read back and the
// client's read of the reply times out.
#include "FrameResponder.h"
#include "PipeLibrary.h"

namespace orvo::piperig {

class PipeLibraryResponder : public FrameResponder {
public:
    explicit PipeLibraryResponder(PipeLibrary& device) : device_(device) {}

    std::optional<DeviceReply> OnFrame(int pipe, const Bytes& frame) override;

private:
    PipeLibrary& device_;
};

}  // namespace orvo::piperig
