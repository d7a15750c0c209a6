#include "Frames.h"

#include <cstring>
#include <numeric>

namespace orvo {
namespace {

std::uint32_t ByteSum(const std::uint8_t* bytes, int count) {
    return std::accumulate(bytes, bytes + count, std::uint32_t{0});
}

}  // namespace

void BuildFrame(const std::uint8_t* source, int length, std::uint8_t* destination, int kind,
                int command) {
    // memmove, since the destination may be the source itself; no buffer of its own, so that a
    // block costs no allocation.
    if (kind == kCommandFrame && length > kPayloadOffset) {
        std::memmove(destination + kPayloadOffset, source + kPayloadOffset,
                     static_cast<std::size_t>(length - kPayloadOffset - 1));
        destination[0] = kSync0;
        destination[1] = kSync1;
        destination[2] = static_cast<std::uint8_t>(command);
        destination[length - 1] = static_cast<std::uint8_t>(ByteSum(destination, length - 1));
    } else if (kind == kDataFrame && length >= kDataFrameOverhead) {
        const int checksumAt = length - kDataFrameChecksumLength;
        std::memmove(destination + kDataFrameHeaderLength, source + kDataFrameHeaderLength,
                     static_cast<std::size_t>(checksumAt - kDataFrameHeaderLength));
        destination[0] = kSync0;
        destination[1] = kSync1;
        destination[2] = kSync0;
        destination[3] = kSync1;
        PutBigEndian32(destination + checksumAt, ByteSum(destination, checksumAt));
    }
}

ReplyFrame BuildReply(std::uint8_t code, const std::uint8_t* payload) {
    ReplyFrame reply{};
    if (payload != nullptr) {
        std::memcpy(reply.data() + kPayloadOffset, payload, kPayloadLength);
    }
    BuildFrame(reply.data(), kReplyLength, reply.data(), kCommandFrame, code);
    return reply;
}

bool IsCommandFrame(const std::uint8_t* frame, int length) {
    return length == kCommandFrameLength && frame[0] == kSync0 && frame[1] == kSync1 &&
           frame[length - 1] == static_cast<std::uint8_t>(ByteSum(frame, length - 1));
}

bool IsDataFrame(const std::uint8_t* frame, int length) {
    if (length <= kDataFrameOverhead) {
        return false;
    }
    const int checksumAt = length - kDataFrameChecksumLength;
    return frame[0] == kSync0 && frame[1] == kSync1 && frame[2] == kSync0 && frame[3] == kSync1 &&
           ReadBigEndian32(frame + checksumAt) == ByteSum(frame, checksumAt);
}

}  // namespace orvo
