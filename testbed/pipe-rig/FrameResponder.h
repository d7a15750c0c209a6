#pragma once
// The device's side of the pipes as the rig server sees it: a frame a client wrote in, at most
// one reply out. The server makes one call at a time, whatever pipe the frame came on, so a
// responder needs no lock of its own.
#include <optional>
#include <vector>

namespace orvo::piperig {

using Bytes = std::vector<unsigned char>;

struct DeviceReply {
    int pipe;     // the even pipe the reply waits on until a client reads it
    Bytes bytes;  // one message: one read of the client receives exactly these bytes
};

class FrameResponder {
public:
    virtual ~FrameResponder() = default;
    // `pipe` is the odd pipe the client wrote `frame` to, as one message.
    virtual std::optional<DeviceReply> OnFrame(int pipe, const Bytes& frame) = 0;
};

}  // namespace orvo::piperig
