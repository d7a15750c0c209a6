#include "PipeLibraryResponder.h"

namespace orvo::piperig {

namespace {

constexpr int kReplyPipe = 0;
constexpr int kReplyLength = 16;
// The reply is there at once or never: the client waits out its own time-out on the pipe.
constexpr int kNoWaitMs = 0;

}  // namespace

std::optional<DeviceReply> PipeLibraryResponder::OnFrame(int pipe, const Bytes& frame) {
    Bytes written = frame;  // the call takes a buffer it may write to
    const int length = static_cast<int>(written.size());
    if (device_.WriteData(pipe, written.data(), length, kNoWaitMs) != length) {
        return std::nullopt;
    }
    Bytes reply(kReplyLength, 0);
    const int count = device_.ReadData(kReplyPipe, reply.data(), kReplyLength, kNoWaitMs);
    if (count <= 0) {
        return std::nullopt;
    }
    reply.resize(static_cast<std::size_t>(count));
    return DeviceReply{kReplyPipe, reply};
}

}  // namespace orvo::piperig
