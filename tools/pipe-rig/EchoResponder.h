#pragma once
// The rig's own small device: every command frame gets a 16-byte reply on pipe 0 with the
// command code + 0x80 and the command's payload echoed; every data frame gets the code of the
// command that announced it + 0x80 with the frame's length and its 32-bit checksum. While
// silent it answers nothing.
#include <atomic>

#include "FrameResponder.h"

namespace orvo::piperig {

class EchoResponder : public FrameResponder {
  public:
    std::optional<DeviceReply> OnFrame(int pipe, const Bytes& frame) override;

    // May be called from any thread, while the server runs.
    void SetSilent(bool silent) { silent_ = silent; }

  private:
    std::atomic<bool> silent_{false};
    unsigned char lastCommand_ = 1;
};

}  // namespace orvo::piperig
