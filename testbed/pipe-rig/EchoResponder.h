#pragma once
// The rig's own small device: every command frame gets a 16-byte reply on pipe 0 with the
// command code + 0x80 and the command's payload echoed; every data frame gets the code of the
// command that announced it + 0x80 with the frame's length and its 32-bit checksum.
#include "FrameResponder.h"

namespace orvo::piperig {

class EchoResponder : public FrameResponder {
public:
    std::optional<DeviceReply> OnFrame(int pipe, const Bytes& frame) override;

private:
    unsigned char lastCommand_ = 1;
};

}  // namespace orvo::piperig
