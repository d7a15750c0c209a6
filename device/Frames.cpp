#include "Frames.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace orvo {
namespace {

// The sum of the bytes, four at a time: a data frame's four kilobytes are summed at every block,
// and the 32-bit build has no vector instructions to do it byte by byte quickly. Each word adds
// its bytes 0 and 2 to one 16-bit lane and bytes 1 and 3 to the other; 128 words fill a lane to
// at most 128 * 2 * 255, below 65,536, so the lanes are emptied into the total at that pace.
std::uint32_t ByteSum(const std::uint8_t* bytes, int count) {
    constexpr int kWordsPerLaneFill = 128;
    const int words = count / 4;
    std::uint32_t total = 0;
    for (int word = 0; word < words;) {
        const int end = std::min(words, word + kWordsPerLaneFill);
        std::uint32_t lanes = 0;
        for (; word < end; ++word) {
            std::uint32_t four;
            std::memcpy(&four, bytes + 4 * word, sizeof four);
            lanes += (four & 0x00FF00FFu) + ((four >> 8) & 0x00FF00FFu);
        }
        total += (lanes & 0xFFFFu) + (lanes >> 16);
    }
    return std::accumulate(bytes + 4 * words, bytes + count, total);
}

// Copies the body, bytes [from, end) of the frame, from `source`, which may overlap it; a body
// already in place, as a block read straight into the frame, is not copied over itself.
void PlaceBody(const std::uint8_t* source, std::uint8_t* destination, int from, int end) {
    if (source != destination) {
        std::memmove(destination + from, source + from, static_cast<std::size_t>(end - from));
    }
}

}  // namespace

void BuildFrame(const std::uint8_t* source, int length, std::uint8_t* destination, int kind,
                int command) {
    // No buffer of its own, so that a block costs no allocation: the destination may be the
    // source itself, or overlap it.
    if (kind == kCommandFrame && length > kPayloadOffset) {
        PlaceBody(source, destination, kPayloadOffset, length - 1);
        destination[0] = kSync0;
        destination[1] = kSync1;
        destination[2] = static_cast<std::uint8_t>(command);
        destination[length - 1] = static_cast<std::uint8_t>(ByteSum(destination, length - 1));
    } else if (kind == kDataFrame && length >= kDataFrameOverhead) {
        const int checksumAt = length - kDataFrameChecksumLength;
        PlaceBody(source, destination, kDataFrameHeaderLength, checksumAt);
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
