#include "EchoResponder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace orvo::piperig {

namespace {

constexpr std::size_t kCommandSize = 16;
constexpr std::size_t kDataFrameOverhead = 8;
constexpr int kReplyPipe = 0;

bool StartsWithSync(const Bytes& frame, std::size_t syncBytes) {
    static const unsigned char sync[] = {0x55, 0xAA, 0x55, 0xAA};
    return frame.size() >= syncBytes && std::equal(sync, sync + syncBytes, frame.begin());
}

bool IsDataFrame(const Bytes& frame) {
    return frame.size() > kDataFrameOverhead && StartsWithSync(frame, 4);
}

bool IsCommandFrame(const Bytes& frame) {
    return frame.size() == kCommandSize && StartsWithSync(frame, 2);
}

void PutBigEndian(std::uint32_t value, unsigned char* out) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<unsigned char>(value >> (24 - 8 * i));
    }
}

DeviceReply Reply(unsigned char code, const unsigned char* payload, std::size_t payloadSize) {
    Bytes reply(kCommandSize, 0);
    reply[0] = 0x55;
    reply[1] = 0xAA;
    reply[2] = code;
    std::copy(payload, payload + std::min<std::size_t>(payloadSize, 12), reply.begin() + 3);
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < kCommandSize; ++i) {
        sum += reply[i];
    }
    reply[15] = static_cast<unsigned char>(sum);
    return {kReplyPipe, reply};
}

}  // namespace

std::optional<DeviceReply> EchoResponder::OnFrame(int, const Bytes& frame) {
    if (IsDataFrame(frame)) {
        unsigned char payload[8];
        PutBigEndian(static_cast<std::uint32_t>(frame.size()), payload);
        std::copy(frame.end() - 4, frame.end(), payload + 4);
        return Reply(static_cast<unsigned char>(lastCommand_ + 0x80), payload, sizeof payload);
    }
    if (IsCommandFrame(frame)) {
        lastCommand_ = frame[2];
        return Reply(static_cast<unsigned char>(frame[2] + 0x80), frame.data() + 3, 12);
    }
    return std::nullopt;
}

}  // namespace orvo::piperig
