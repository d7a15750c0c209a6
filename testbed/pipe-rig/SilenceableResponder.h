#pragma once
// Any device made able to fall silent: while silent, frames still reach the device but its
// replies are dropped, as from a device that has stopped answering.
#include <atomic>

#include "FrameResponder.h"

namespace orvo::piperig {

class SilenceableResponder : public FrameResponder {
public:
    explicit SilenceableResponder(FrameResponder& device) : device_(device) {}

    std::optional<DeviceReply> OnFrame(int pipe, const Bytes& frame) override {
        auto reply = device_.OnFrame(pipe, frame);
        return silent_ ? std::nullopt : reply;
    }

    // May be called from any thread while the server runs.
    void SetSilent(bool silent) { silent_ = silent; }

private:
    FrameResponder& device_;
    std::atomic<bool> silent_{false};
};

}  // namespace orvo::piperig
