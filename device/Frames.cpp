#include "Frames.h"

#include "DeviceProtocol.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace orvo {
namespace {

std::uint32_t ByteSum(const std::uint8_t* bytes, int count) {
    return std::accumulate(bytes, bytes + count, std::uint32_t{0});
}

void BuildCommandFrame(const std::uint8_t* source, int length, std::uint8_t* scratch, int command) {
    scratch[0] = kSync0;
    scratch[1] = kSync1;
    scratch[2] = static_cast<std::uint8_t>(command);
    std::copy(source + kPayloadOffset, source + length - 1, scratch + kPayloadOffset);
    scratch[length - 1] = static_cast<std::uint8_t>(ByteSum(scratch, length - 1));
}

void BuildDataFrame(const std::uint8_t* source, int length, std::uint8_t* scratch) {
    const int checksumAt = length - kDataFrameChecksumLength;
    scratch[0] = kSync0;
    scratch[1] = kSync1;
    scratch[2] = kSync0;
    scratch[3] = kSync1;
    std::copy(source + kDataFrameHeaderLength, source + checksumAt,
              scratch + kDataFrameHeaderLength);
    const std::uint32_t sum = ByteSum(scratch, checksumAt);
    PutBigEndian16(scratch + checksumAt, sum >> 16);
    PutBigEndian16(scratch + checksumAt + 2, sum & 0xFFFF);
}

}  // namespace

void BuildFrame(const std::uint8_t* source, int length, std::uint8_t* destination, int kind,
                int command) {
    const bool isCommand = kind == kCommandFrame && length > kPayloadOffset;
    const bool isData = kind == kDataFrame && length >= kDataFrameOverhead;
    if (!isCommand && !isData) {
        return;
    }
    // A separate scratch buffer lets the destination be the source itself.
    std::vector<std::uint8_t> scratch(length, 0);
    if (isCommand) {
        BuildCommandFrame(source, length, scratch.data(), command);
    } else {
        BuildDataFrame(source, length, scratch.data());
    }
    std::memcpy(destination, scratch.data(), scratch.size());
}

}  // namespace orvo
