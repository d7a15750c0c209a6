#include "EchoResponder.h"

#include "Frames.h"

#include <algorithm>
#include <cstdint>

namespace orvo::piperig {

namespace {

// Frames are told apart by their sync bytes and length alone, whatever their sums: the rig
// tests the transport, and its tests send any bytes they like to see each one arrive.
bool StartsWithSync(const Bytes& frame, std::size_t syncBytes) {
    static const unsigned char sync[] = {kSync0, kSync1, kSync0, kSync1};
    return frame.size() >= syncBytes && std::equal(sync, sync + syncBytes, frame.begin());
}

bool IsDataFrame(const Bytes& frame) {
    return frame.size() > static_cast<std::size_t>(kDataFrameOverhead) &&
           StartsWithSync(frame, kDataFrameHeaderLength);
}

bool IsCommandFrame(const Bytes& frame) {
    return frame.size() == static_cast<std::size_t>(kCommandFrameLength) &&
           StartsWithSync(frame, 2);
}

DeviceReply Reply(unsigned command, const std::uint8_t* payload) {
    const ReplyFrame reply =
        BuildReply(static_cast<std::uint8_t>(command + kPositiveReply), payload);
    return {pipe::kReply, Bytes(reply.begin(), reply.end())};
}

}  // namespace

std::optional<DeviceReply> EchoResponder::OnFrame(int, const Bytes& frame) {
    if (IsDataFrame(frame)) {
        std::uint8_t payload[kPayloadLength] = {};
        PutBigEndian32(payload, static_cast<std::uint32_t>(frame.size()));
        std::copy(frame.end() - kDataFrameChecksumLength, frame.end(), payload + 4);
        return Reply(lastCommand_, payload);
    }
    if (IsCommandFrame(frame)) {
        lastCommand_ = frame[2];
        return Reply(frame[2], frame.data() + kPayloadOffset);
    }
    return std::nullopt;
}

}  // namespace orvo::piperig
